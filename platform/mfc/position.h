// POSITION: the opaque cursor of the list and map classes. It names an element (a list
// node or a map association) and stays valid until that element is removed.
#pragma once

struct POSITION__;
using POSITION = POSITION__*;
