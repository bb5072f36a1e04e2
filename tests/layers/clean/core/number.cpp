#include "core/number.h"
#include "number.h"
