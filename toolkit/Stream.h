// Byte streams: an abstract positionable stream, a growable memory stream and a file
// stream. The typed helpers raise EReadError when a read comes up short.
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
