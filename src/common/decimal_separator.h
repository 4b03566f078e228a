#pragma once
// The user's decimal separator: one setting of the core, "." or ",".

namespace quorrel {

//! The separator that conversions and formatting use unless told otherwise.
char DecimalSeparator();

//! Sets the separator; anything but '.' or ',' is refused with std::invalid_argument.
void SetDecimalSeparator(char separator);

//! The separator of the environment's locale (LC_ALL, LC_NUMERIC, LANG), '.' when unknown.
//! Reads the environment only; the process locale is left alone.
char SystemDecimalSeparator();

//! Switches the separator for the lifetime of the object (tests, command options).
class ScopedDecimalSeparator {
 public:
  explicit ScopedDecimalSeparator(char separator);
  ~ScopedDecimalSeparator();
  ScopedDecimalSeparator(const ScopedDecimalSeparator&) = delete;
  ScopedDecimalSeparator& operator=(const ScopedDecimalSeparator&) = delete;

 private:
  char previous_;
};

}  // namespace quorrel
