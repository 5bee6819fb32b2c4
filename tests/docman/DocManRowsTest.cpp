#include "FakeHost.h"
