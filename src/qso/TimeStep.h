#pragma once
#include "qso/QsoRecord.h"

// Move the contact time one minute forward (+1) or back (-1); passing midnight
// moves a 10-character date one calendar day.
void StepTime(QsoRecord& record, int direction);
