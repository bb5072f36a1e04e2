#include "lists/lists.h"
#include "conditions/conditions.h"
#include "app/config.h"
