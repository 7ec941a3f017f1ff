// The filter base classes: everything a filter module includes.
#pragma once

#include <dshow/dshow.h>

#include <dshow/baseclasses/CAutoLock.h>
#include <dshow/baseclasses/CBaseFilter.h>
#include <dshow/baseclasses/CBaseInputPin.h>
#include <dshow/baseclasses/CBaseOutputPin.h>
#include <dshow/baseclasses/CBasePin.h>
#include <dshow/baseclasses/CCritSec.h>
#include <dshow/baseclasses/CEnumMediaTypes.h>
#include <dshow/baseclasses/CEnumPins.h>
#include <dshow/baseclasses/CFactoryTemplate.h>
#include <dshow/baseclasses/CMediaPosition.h>
#include <dshow/baseclasses/CMediaSample.h>
#include <dshow/baseclasses/CMediaType.h>
#include <dshow/baseclasses/CMemAllocator.h>
#include <dshow/baseclasses/COutputQueue.h>
#include <dshow/baseclasses/CPosPassThru.h>
#include <dshow/baseclasses/CSource.h>
#include <dshow/baseclasses/CSourceStream.h>
#include <dshow/baseclasses/CTransInPlaceFilter.h>
#include <dshow/baseclasses/CTransInPlaceInputPin.h>
#include <dshow/baseclasses/CTransInPlaceOutputPin.h>
#include <dshow/baseclasses/CTransformFilter.h>
#include <dshow/baseclasses/CTransformInputPin.h>
#include <dshow/baseclasses/CTransformOutputPin.h>
#include <dshow/baseclasses/CUnknown.h>
#include <dshow/baseclasses/dllsetup.h>
#include <dshow/baseclasses/llMulDiv.h>
#include <dshow/baseclasses/setup.h>
