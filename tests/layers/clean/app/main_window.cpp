#include "app/config.h"
#include "conditions/conditions.h"
#include "lists/lists.h"
