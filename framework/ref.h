#pragma once

#include <exception>
#include <memory>
#include <string>

namespace fw {

// Base of every exception the framework raises.
class RuntimeException : public std::exception {
 public:
  explicit RuntimeException(std::string message = {}) : message_(std::move(message)) {}
  virtual std::string ClassName() const { return "RuntimeException"; }
  const std::string& Message() const { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

// Raised when a nil reference is used.
class NilObjectException : public RuntimeException {
 public:
  using RuntimeException::RuntimeException;
  std::string ClassName() const override { return "NilObjectException"; }
};

// Raised when an object is not of the class it is checked against.
class IllegalCastException : public RuntimeException {
 public:
  using RuntimeException::RuntimeException;
  std::string ClassName() const override { return "IllegalCastException"; }
};

// Raised for an index outside a collection.
class OutOfBoundsException : public RuntimeException {
 public:
  using RuntimeException::RuntimeException;
  std::string ClassName() const override { return "OutOfBoundsException"; }
};

// Raised for an argument an operation cannot take (an unknown property name,
// a value of the wrong type).
class InvalidArgumentException : public RuntimeException {
 public:
  using RuntimeException::RuntimeException;
  std::string ClassName() const override { return "InvalidArgumentException"; }
};

// A shared reference that may be nil; using a nil one raises
// NilObjectException instead of dereferencing null.
template <class T>
class Ref : public std::shared_ptr<T> {
 public:
  using std::shared_ptr<T>::shared_ptr;
  Ref() = default;
  Ref(std::shared_ptr<T> p) : std::shared_ptr<T>(std::move(p)) {}  // NOLINT: implicit by design

  T* operator->() const { return &Checked(); }
  T& operator*() const { return Checked(); }

 private:
  T& Checked() const {
    if (!this->get()) throw NilObjectException("nil object used");
    return *this->get();
  }
};

// The class check of an accessor: nil stays nil, an object of another class raises.
template <class T, class U>
Ref<T> Cast(const std::shared_ptr<U>& from) {
  if (!from) return {};
  auto to = std::dynamic_pointer_cast<T>(from);
  if (!to) throw IllegalCastException("object is not of the expected class");
  return to;
}

}  // namespace fw
