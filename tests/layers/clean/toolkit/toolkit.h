#pragma once
#include "core/number.h"
