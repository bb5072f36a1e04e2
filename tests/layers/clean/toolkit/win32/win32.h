#include <commctrl.h>
#include <windows.h>
