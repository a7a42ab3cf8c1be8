// The exception classes of the widget layer. Every error the layer and the
// library raise derives from Exception and carries an English message.
#pragma once

#include <stdexcept>
#include <string>

class Exception : public std::exception {
 public:
  explicit Exception(std::string Message) : message_(std::move(Message)) {}
  const std::string& Message() const { return message_; }
  void SetMessage(std::string m) { message_ = std::move(m); }
  const char* what() const noexcept override { return message_.c_str(); }
  // Builds the message printf-style.
  static std::string Fmt(const char* format, ...) __attribute__((format(printf, 1, 2)));

 private:
  std::string message_;
};

#define DECLARE_EXCEPTION(Name, Base) \
  class Name : public Base {          \
   public:                            \
    using Base::Base;                 \
  };

// Raised to leave an action silently: HandleException shows nothing for it.
DECLARE_EXCEPTION(EAbort, Exception)
DECLARE_EXCEPTION(EConvertError, Exception)
DECLARE_EXCEPTION(EComponentError, Exception)
DECLARE_EXCEPTION(EReadError, Exception)
DECLARE_EXCEPTION(EWriteError, Exception)
DECLARE_EXCEPTION(EStreamError, Exception)
DECLARE_EXCEPTION(EFOpenError, EStreamError)
DECLARE_EXCEPTION(EResNotFound, Exception)
DECLARE_EXCEPTION(EListError, Exception)
DECLARE_EXCEPTION(EStringListError, Exception)
DECLARE_EXCEPTION(EClassNotFound, Exception)
DECLARE_EXCEPTION(EPropertyError, Exception)
DECLARE_EXCEPTION(EInvalidOperation, Exception)
DECLARE_EXCEPTION(EOutOfResources, Exception)
DECLARE_EXCEPTION(EInvalidGraphic, Exception)
DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception)
DECLARE_EXCEPTION(EOSError, Exception)
