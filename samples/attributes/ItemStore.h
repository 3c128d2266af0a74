// The items the sample attribute component knows, by item name, each with
// its properties.  One store per process; an item first asked for starts
// with a small set of sample properties.
#pragma once

#include <string>

#include "samples/attributes/AttributeData.h"

AttributeList& ItemProperties(const std::string& itemName);
// Sets one property of an item, adding it when it is new.
void SetItemProperty(const std::string& itemName, const std::string& name, const std::string& value);
