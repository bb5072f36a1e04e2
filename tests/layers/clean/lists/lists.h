#pragma once
#include "core/number.h"
#include "toolkit/toolkit.h"
