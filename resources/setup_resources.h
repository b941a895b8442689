#pragma once
// The setup's own resources, compiled from resources/setup.rc at build time.

#include "platform/resources/resource_module.h"

const platform::ResourceModule& SetupResources();
