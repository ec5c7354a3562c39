#include "acquisition/AcquisitionState.h"

TAcquisitionState Acquisition;
