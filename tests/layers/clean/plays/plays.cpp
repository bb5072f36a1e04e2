#include "../lists/lists.h"
#include "lists/lists.h"
