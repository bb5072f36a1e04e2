#include "toolkit/toolkit.h"
