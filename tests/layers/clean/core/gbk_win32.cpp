#include <Windows.h>
#include "core/number.h"
