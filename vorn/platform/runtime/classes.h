// The root of the object model: TObject and TPersistent.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <typeinfo>

namespace vorn {

class TObject;

// The plain event: who raised it.
using TNotifyEvent = std::function<void(TObject* Sender)>;

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
