// Byte streams: an abstract positionable stream, a growable memory stream and a file
// stream. The typed helpers raise EReadError when a read comes up short. And the writing
// of a whole file at once.
#pragma once

#include <QFile>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

class EStreamError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};
class EReadError : public EStreamError {
public:
  EReadError() : EStreamError("Stream read error") {}
};
class EWriteError : public EStreamError {
public:
  EWriteError() : EStreamError("Stream write error") {}
};
class EFOpenError : public EStreamError {
public:
  using EStreamError::EStreamError;
};

class TStream {
public:
  virtual ~TStream() = default;
  // Reads up to Count bytes; returns how many were read.
  virtual int Read(void* Buffer, int Count) = 0;
  // Writes Count bytes; returns how many were written.
  virtual int Write(const void* Buffer, int Count) = 0;
  virtual int64_t Position() const = 0;
  virtual void SetPosition(int64_t Value) = 0;
  virtual int64_t Size() const = 0;

  void ReadBuffer(void* Buffer, int Count);         // all or EReadError
  void WriteBuffer(const void* Buffer, int Count);  // all or EWriteError
  template <class T>
  T ReadValue() {
    T Value;
    ReadBuffer(&Value, sizeof Value);
    return Value;
  }
  template <class T>
  void WriteValue(const T& Value) {
    WriteBuffer(&Value, sizeof Value);
  }
  // Copies Count bytes (all remaining when Count is 0) from Source; returns the count.
  int64_t CopyFrom(TStream& Source, int64_t Count);
};

class TMemoryStream : public TStream {
public:
  int Read(void* Buffer, int Count) override;
  int Write(const void* Buffer, int Count) override;
  int64_t Position() const override { return Position_; }
  void SetPosition(int64_t Value) override { Position_ = Value < 0 ? 0 : Value; }
  int64_t Size() const override { return static_cast<int64_t>(Data_.size()); }
  void SetSize(int64_t Value);
  void Clear();
  char* Memory() { return Data_.data(); }
  const char* Memory() const { return Data_.data(); }

private:
  std::vector<char> Data_;
  int64_t Position_ = 0;
};

enum TFileMode : uint8_t { fmOpenRead, fmOpenReadWrite, fmCreate };

class TFileStream : public TStream {
public:
  // Raises EFOpenError with the file's name and the system's reason.
  TFileStream(const QString& FileName, TFileMode Mode);
  int Read(void* Buffer, int Count) override;
  int Write(const void* Buffer, int Count) override;
  int64_t Position() const override { return File_.pos(); }
  void SetPosition(int64_t Value) override { File_.seek(Value < 0 ? 0 : Value); }
  int64_t Size() const override { return File_.size(); }

private:
  QFile File_;
};

// Writes Bytes as the whole of the file Name, replacing it only once every byte is on
// disk, so that a failure leaves the old file as it was; empty when written, else why
// not. A replaced file keeps its permissions and a link keeps pointing at it; a first
// file gets what the user's umask allows. A device or a pipe (/dev/stdout) is written
// directly: replacing it by a file, which the superuser may do even in /dev, would
// destroy it; so is a file in a folder that takes no new file. A pipe without a reader
// fails at once rather than wait for one.
QString ReplaceFile(const QString& Name, const QByteArray& Bytes);
