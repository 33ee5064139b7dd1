#include "shell/ApplicationState.h"

ApplicationState gApplicationState;
