// The whole COM layer: include this one header.
#pragma once

#include "platform/com/Bstr.h"
#include "platform/com/ClassFactory.h"
#include "platform/com/ComBase.h"
#include "platform/com/ComPtr.h"
#include "platform/com/ComRuntime.h"
#include "platform/com/Guid.h"
#include "platform/com/InProcRegistration.h"
#include "platform/com/ModulePath.h"
#include "platform/com/Utf8.h"
#include "platform/com/Variant.h"
