#include <windows.h>
#include <commctrl.h>
