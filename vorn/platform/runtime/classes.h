// The root of the object model: TObject and TPersistent.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <typeinfo>
#include <utility>

namespace vorn {

class TObject;

// The plain event: who raised it.
using TNotifyEvent = std::function<void(TObject* Sender)>;

// Calls an event handler, when one is set, through a copy of it. A handler
// may delete the object that raised the event, and with it the stored
// handler; the copy keeps the running handler and what it captured alive
// until it returns. Code that touches the object afterwards checks first
// that it still exists (TDestroyGuard for controls).
template <typename Event, typename... Args>
void RaiseEvent(const Event& Handler, Args&&... Arguments) {
  if (!Handler) return;
  const Event running = Handler;
  running(std::forward<Args>(Arguments)...);
}

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  // The dynamic class name without namespace, for messages.
  [[nodiscard]] virtual std::string ClassName() const;
};

// Raised when Assign meets a source it cannot copy from.
class EConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// An object whose published state can be copied from another object.
// Assign(Source) asks Source to AssignTo(this) when it does not know the
// source's class itself; AssignTo fails when neither side knows the other.
class TPersistent : public TObject {
 public:
  virtual void Assign(const TPersistent* Source);

 protected:
  virtual void AssignTo(TPersistent* Dest) const;
};

}  // namespace vorn
