// Resource numbers of the container test program (test code).
#pragma once

#define IDR_MAINFRAME 128
#define IDR_DOCTYPE 129
#define IDR_CNTR_INPLACE 130
#define ID_NO_HANDLER 32770
