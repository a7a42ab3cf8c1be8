// Comparable events: an event is an (object, code) pair. Two events are equal
// only when both halves are, so code can install a handler only where none is
// set, and remove or restore exactly its own (window procedures included).
//
// Identity is (object, method), whatever type of pointer bound it: the object
// is kept as a pointer to the class that declares the method and the code is
// one stub per method, so a binding through a base or a derived pointer, or
// by published name, compares equal. A virtual method is one method only
// when it is always named by the same class (&TControl::WndProc).
#pragma once

#include <cstddef>
#include <typeinfo>
#include <utility>

// The untyped form of any event, as reflection and the form reader see it.
struct TMethod {
  void* Code = nullptr;
  void* Data = nullptr;
  bool operator==(const TMethod&) const = default;
  explicit operator bool() const { return Code != nullptr; }
};

namespace events_detail {
template <typename M>
struct MemberOf;
template <typename C, typename T>
struct MemberOf<T C::*> {
  using Class = C;
};
// The class that declares Method (not the class a pointer to it was named through).
template <auto Method>
using DeclaringClass = typename MemberOf<decltype(Method)>::Class;
}  // namespace events_detail

template <typename Sig>
class TEvent;

template <typename R, typename... A>
class TEvent<R(A...)> {
 public:
  using Stub = R (*)(void*, A...);

  TEvent() = default;
  TEvent(std::nullptr_t) {}
  TEvent(void* data, Stub code) : data_(data), code_(code) {}

  // The event that calls Method on obj; a virtual method dispatches virtually.
  template <auto Method, typename C>
  static TEvent Of(C* obj) {
    events_detail::DeclaringClass<Method>* self = obj;
    return TEvent(static_cast<void*>(self), &Thunk<Method>);
  }

  R operator()(A... args) const { return code_(data_, std::forward<A>(args)...); }
  explicit operator bool() const { return code_ != nullptr; }
  bool operator==(const TEvent& o) const { return code_ == o.code_ && data_ == o.data_; }

  void* Data() const { return data_; }
  TMethod Method() const { return {reinterpret_cast<void*>(code_), data_}; }
  static TEvent FromMethod(const TMethod& m) {
    return TEvent(m.Data, reinterpret_cast<Stub>(m.Code));
  }

 private:
  template <auto Method>
  static R Thunk(void* obj, A... args) {
    return (static_cast<events_detail::DeclaringClass<Method>*>(obj)->*Method)(
        std::forward<A>(args)...);
  }

  void* data_ = nullptr;
  Stub code_ = nullptr;
};

// Binds a method of `obj` to an event of type `Ev`:
//   Button->OnClick = Bind<TNotifyEvent, &TForm1::Button1Click>(this);
template <typename Ev, auto Method, typename C>
Ev Bind(C* obj) {
  return Ev::template Of<Method>(obj);
}

class TObject;
using TNotifyEvent = TEvent<void(TObject* Sender)>;
