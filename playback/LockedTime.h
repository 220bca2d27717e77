#pragma once
// A calendar time shared between threads: read and written whole under a small lock.
#include <mutex>

#include "archive/Calendar.h"

namespace ov {

class LockedTime {
 public:
  CalendarTime Load() const {
    std::lock_guard<std::mutex> g(m_lock);
    return m_value;
  }
  void Store(const CalendarTime& t) {
    std::lock_guard<std::mutex> g(m_lock);
    m_value = t;
  }

 private:
  mutable std::mutex m_lock;
  CalendarTime m_value{};
};

}  // namespace ov
