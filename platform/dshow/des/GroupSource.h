// The render engine's source of one timeline group: a source filter with one output pin
// ("Output") that sends the group's uncompressed stream (GroupStreamPin).
#pragma once

#include <dshow/baseclasses/CSource.h>
#include <dshow/des/GroupStreamPin.h>

namespace plat {

class GroupSource : public CSource {
 public:
  GroupSource(const GroupFormat& format, HRESULT* phr);

  GroupStreamPin* pin() { return m_pin; }

 private:
  GroupStreamPin* m_pin;  // deleted with the filter, as every CSource pin
};

}  // namespace plat
