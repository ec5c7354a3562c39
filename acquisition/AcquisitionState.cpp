// SPDX-License-Identifier: GPL-3.0-or-later
#include "acquisition/AcquisitionState.h"

TAcquisitionState Acquisition;
