// The filter-graph platform: interfaces, identifiers, result and event codes, format
// records and media-type helpers. The graph manager, capture graph builder, device
// enumerator and the platform's filters are created through CoCreateInstance by CLSID.
#pragma once

#include <com/objbase.h>
#include <dshow/amaudio.h>
#include <dshow/amvideo.h>
#include <dshow/axextend.h>
#include <dshow/control.h>
#include <dshow/evcode.h>
#include <dshow/mtype.h>
#include <dshow/strmif.h>
#include <dshow/uuids.h>
#include <dshow/vfwmsgs.h>
#include <dshow/vmr.h>
#include <dshow/asyncrdr.h>
#include <dshow/mediafiles.h>
