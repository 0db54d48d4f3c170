// Resource numbers of the resource-chain test library.
#pragma once
#define IDS_CHAIN_ONLY 41000
#define IDS_CHAIN_FORMAT 41001
#define IDR_CHAIN_DATA 41002
// A dialog whose control is of a window class the library registers for itself.
#define IDD_CHAIN_DIALOG 41003
#define IDC_CHAIN_CONTROL 100
#define CHAIN_CONTROL_CLASS "AfxChainControl"
// Only in the second library.
#define IDS_CHAIN_SECOND_ONLY 41010
