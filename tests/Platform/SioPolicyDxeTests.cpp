#include "BoardFixture.h"
