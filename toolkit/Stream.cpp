#include "toolkit/Stream.h"

#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

void TStream::ReadBuffer(void* Buffer, int Count) {
  if (Count > 0 && Read(Buffer, Count) != Count) throw EReadError();
}

void TStream::WriteBuffer(const void* Buffer, int Count) {
  if (Count > 0 && Write(Buffer, Count) != Count) throw EWriteError();
}

int64_t TStream::CopyFrom(TStream& Source, int64_t Count) {
  if (Count == 0) {
    Source.SetPosition(0);
    Count = Source.Size();
  }
  char Chunk[4096];
  int64_t Left = Count;
  while (Left > 0) {
    const int N = static_cast<int>(std::min<int64_t>(Left, sizeof Chunk));
    Source.ReadBuffer(Chunk, N);
    WriteBuffer(Chunk, N);
    Left -= N;
  }
  return Count;
}

int TMemoryStream::Read(void* Buffer, int Count) {
  const int64_t Available = std::max<int64_t>(0, Size() - Position_);
  const int N = static_cast<int>(std::clamp<int64_t>(Count, 0, Available));
  if (N > 0) std::memcpy(Buffer, Data_.data() + Position_, N);
  Position_ += N;
  return N;
}

int TMemoryStream::Write(const void* Buffer, int Count) {
  if (Count <= 0) return 0;
  if (Position_ + Count > Size()) Data_.resize(Position_ + Count);
  std::memcpy(Data_.data() + Position_, Buffer, Count);
  Position_ += Count;
  return Count;
}

void TMemoryStream::SetSize(int64_t Value) {
  Data_.resize(std::max<int64_t>(Value, 0));
  Position_ = std::min(Position_, Size());
}

void TMemoryStream::Clear() {
  Data_.clear();
  Position_ = 0;
}

TFileStream::TFileStream(const QString& FileName, TFileMode Mode) : File_(FileName) {
  const QIODevice::OpenMode Flags = Mode == fmOpenRead       ? QIODevice::ReadOnly
                                    : Mode == fmOpenReadWrite ? QIODevice::ReadWrite
                                                              : QIODevice::ReadWrite | QIODevice::Truncate;
  if (!File_.open(Flags))
    throw EFOpenError(("Cannot open file \"" + FileName + "\". " + File_.errorString()).toStdString());
}

int TFileStream::Read(void* Buffer, int Count) {
  const qint64 N = File_.read(static_cast<char*>(Buffer), std::max(Count, 0));
  return N < 0 ? 0 : static_cast<int>(N);
}

int TFileStream::Write(const void* Buffer, int Count) {
  const qint64 N = File_.write(static_cast<const char*>(Buffer), std::max(Count, 0));
  return N < 0 ? 0 : static_cast<int>(N);
}

namespace {

// A pipe that nobody reads would hold the open for ever, and the window with it: the
// open does not wait, so a missing reader fails at once ("No such device or address");
// the bytes are then written as usual.
QString WriteDevice(const QString& Name, const QByteArray& Bytes) {
  const int Descriptor = ::open(QFile::encodeName(Name).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  if (Descriptor < 0) return qt_error_string(errno);
  ::fcntl(Descriptor, F_SETFL, ::fcntl(Descriptor, F_GETFL) & ~O_NONBLOCK);
  QFile Device;
  if (!Device.open(Descriptor, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
    ::close(Descriptor);
    return Device.errorString();
  }
  return Device.write(Bytes) == Bytes.size() ? QString() : Device.errorString();
}

}  // namespace

QString ReplaceFile(const QString& Name, const QByteArray& Bytes) {
  if (const QFileInfo Target(Name); Target.exists() && !Target.isFile()) return WriteDevice(Name, Bytes);
  QSaveFile File(Name);
  File.setDirectWriteFallback(true);
  if (File.open(QIODevice::WriteOnly) && File.write(Bytes) == Bytes.size() && File.commit()) return {};
  return File.errorString();
}
