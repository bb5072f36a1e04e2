#include "../lists/lists.h"
