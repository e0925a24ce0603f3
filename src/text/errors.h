#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

// Every failure the user can see travels as an exception whose message is the text shown
// in the application error box.
namespace arcavio {

class Error : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Reading a line at or past the end of a line list.
class ListIndexError : public Error {
  public:
    explicit ListIndexError(long long index);
    long long index() const { return index_; }

  private:
    long long index_;
};

class ConvertError : public Error {
  public:
    using Error::Error;
    static ConvertError invalidInteger(std::string_view text);
};

class FileOpenError : public Error {
  public:
    explicit FileOpenError(std::string_view path);
};

// Why a write failed, where the path alone cannot tell: the device or the name. A missing or
// blocked folder and the permissions keep the plain message, which names the path.
enum class WriteFailure { Unknown, NoSpace, QuotaExceeded, ReadOnly, NameTooLong, TooLarge, DeviceError };

// "Cannot create file X", and after a colon the reason when one is known.
class FileCreateError : public Error {
  public:
    explicit FileCreateError(std::string_view path, WriteFailure reason = WriteFailure::Unknown);
    WriteFailure reason() const { return reason_; }

  private:
    WriteFailure reason_;
};

// A file that another program holds locked for longer than the program waits.
class FileBusyError : public Error {
  public:
    explicit FileBusyError(std::string_view path);
};

class InOutError : public Error {
  public:
    using Error::Error;
};

// A value refused before anything is written or started, because passing it on would change
// its meaning: a line break inside a line of a file, a game name the emulator would take for
// an option, a key a file cannot hold. The message names the value.
class RefusedValueError : public Error {
  public:
    using Error::Error;
};

class PictureError : public Error {
  public:
    using Error::Error;
    static PictureError unknownExtension(std::string_view extension);
    static PictureError invalidBitmap();
    static PictureError jpeg(int messageNumber);
};

// The error box's text: the message, with a full stop added when its last character sorts
// after "." (so a message ending in ")" stays as it is).
std::string errorBoxText(std::string_view message);

} // namespace arcavio
