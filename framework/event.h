#pragma once

#include <functional>
#include <memory>
#include <utility>

#include "framework/ref.h"

namespace fw {

// One event of a control, with at most one handler.
template <class Signature>
class Event;

template <class R, class... Args>
class Event<R(Args...)> {
 public:
  using Handler = std::function<R(Args...)>;

  void AddEventHandler(Handler handler) { handler_ = std::move(handler); }
  bool IsBound() const { return static_cast<bool>(handler_); }
  // Calls the handler; an unbound event gives R's default.
  R Raise(Args... args) const {
    if (!handler_) return R();
    return handler_(std::forward<Args>(args)...);
  }

 private:
  Handler handler_;
};

// Binds a method to its object without keeping the object alive; calling the
// binding after the object is gone raises NilObjectException.
template <class Owner, class Base, class R, class... Args>
std::function<R(Args...)> RuntimeCreateDelegate(Base& target, R (Owner::*method)(Args...)) {
  std::weak_ptr<Owner> weak = std::dynamic_pointer_cast<Owner>(target.shared_from_this());
  if (weak.expired()) throw IllegalCastException("delegate target is not of the method's class");
  return [weak, method](Args... args) -> R {
    auto self = weak.lock();
    if (!self) throw NilObjectException("the handler's object is gone");
    return ((*self).*method)(std::forward<Args>(args)...);
  };
}

}  // namespace fw
