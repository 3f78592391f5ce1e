#pragma once

// A plan kept as a JSON document, to be applied later exactly as it was reviewed.

#include <string>

#include "sync/SyncPlan.h"

std::string SyncPlanJson(const TSyncPlan& plan);

// False with why when text is no plan of this program.
bool ReadSyncPlan(const std::string& text, TSyncPlan& plan, std::string& why);
