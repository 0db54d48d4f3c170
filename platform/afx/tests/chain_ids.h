// Resource numbers of the resource-chain test library.
#pragma once
#define IDS_CHAIN_ONLY 41000
#define IDS_CHAIN_FORMAT 41001
#define IDR_CHAIN_DATA 41002
