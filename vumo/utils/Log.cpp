#include "utils/Log.h"

Q_LOGGING_CATEGORY(lcVumo, "vumo")
Q_LOGGING_CATEGORY(lcContol, "contol")
Q_LOGGING_CATEGORY(lcMain, "main")
Q_LOGGING_CATEGORY(lcTrade, "trade")
