#include <windows.h>
#include "toolkit/toolkit.h"
