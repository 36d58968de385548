#include "config/MessageTable.h"

MessageTableTexts MessageTable;
