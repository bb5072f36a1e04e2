#include "conditions/conditions.h"
#include <gtest/gtest.h>
