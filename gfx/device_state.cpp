#include "gfx/device_state.h"

DeviceState g_deviceState;
