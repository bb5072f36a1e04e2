#include "lists/lists.h"
