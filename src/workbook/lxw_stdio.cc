#include "workbook/lxw_stdio.h"

#include <dlfcn.h>
#include <stdarg.h>
#include <stdio.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <string_view>

namespace {

// The watch active on this thread, if any.
thread_local statcrane::StdioWatch* current_watch = nullptr;

void NoteFailure(int error) {
  if (current_watch != nullptr) current_watch->NoteFailure(error);
}

// The next definition of a stdio function: the C library's (or a sanitizer's
// in front of it).
template <typename Fn>
Fn Next(const char* name) {
  void* symbol = dlsym(RTLD_NEXT, name);
  if (symbol == nullptr) {
    fprintf(stderr, "statcrane: the C library has no %s\n", name);
    abort();
  }
  return reinterpret_cast<Fn>(symbol);
}

constexpr const char* kNumberCell = "<c r=\"%s\"><v>%.16G</v></c>";
constexpr const char* kStyledNumberCell = "<c r=\"%s\" s=\"%d\"><v>%.16G</v></c>";

int WriteNumberCell(FILE* stream, const char* ref, const int* style, double number) {
  char buffer[160];
  char* out = buffer;
  char* end = buffer + sizeof buffer;
  auto append = [&](std::string_view text) {
    size_t n = std::min(text.size(), static_cast<size_t>(end - out));
    std::memcpy(out, text.data(), n);
    out += n;
  };
  append("<c r=\"");
  append(ref);
  if (style != nullptr) {
    append("\" s=\"");
    out = std::to_chars(out, end, *style).ptr;
  }
  append("\"><v>");
  out = std::to_chars(out, end, number).ptr;
  append("</v></c>");
  size_t length = static_cast<size_t>(out - buffer);
  return fwrite(buffer, 1, length, stream) == length ? static_cast<int>(length) : -1;
}

}  // namespace

extern "C" {

int __vfprintf_chk(FILE* stream, int flag, const char* format, va_list args);

int __fprintf_chk(FILE* stream, int flag, const char* format, ...) {
  va_list args;
  va_start(args, format);
  int written;
  if (format[0] == '<' && format[1] == 'c' && std::strncmp(format, "<c r=\"%s\"", 9) == 0 &&
      (std::strcmp(format, kNumberCell) == 0 || std::strcmp(format, kStyledNumberCell) == 0)) {
    const char* ref = va_arg(args, const char*);
    int style = 0;
    bool styled = format[9] == ' ';
    if (styled) style = va_arg(args, int);
    double number = va_arg(args, double);
    written = WriteNumberCell(stream, ref, styled ? &style : nullptr, number);
  } else {
    written = __vfprintf_chk(stream, flag, format, args);
    if (written < 0) NoteFailure(errno);
  }
  va_end(args);
  return written;
}

size_t fwrite(const void* data, size_t size, size_t count, FILE* stream) {
  static const auto next = Next<size_t (*)(const void*, size_t, size_t, FILE*)>("fwrite");
  size_t written = next(data, size, count, stream);
  if (written < count && size != 0) NoteFailure(errno);
  return written;
}

size_t fread(void* data, size_t size, size_t count, FILE* stream) {
  static const auto next = Next<size_t (*)(void*, size_t, size_t, FILE*)>("fread");
  statcrane::StdioWatch* watch = current_watch;
  if (watch == nullptr) return next(data, size, count, stream);
  if (!watch->BeforeRead()) return 0;
  size_t read = next(data, size, count, stream);
  watch->AfterRead(read * size);
  return read;
}

int fputs(const char* text, FILE* stream) {
  static const auto next = Next<int (*)(const char*, FILE*)>("fputs");
  int result = next(text, stream);
  if (result == EOF) NoteFailure(errno);
  return result;
}

int fputc(int c, FILE* stream) {
  static const auto next = Next<int (*)(int, FILE*)>("fputc");
  int result = next(c, stream);
  if (result == EOF) NoteFailure(errno);
  return result;
}

int fflush(FILE* stream) {
  static const auto next = Next<int (*)(FILE*)>("fflush");
  int result = next(stream);
  if (result == EOF) NoteFailure(errno);
  return result;
}

int fseek(FILE* stream, long offset, int whence) {
  static const auto next = Next<int (*)(FILE*, long, int)>("fseek");
  // A seek writes out what is buffered; a failure there counts too.
  if (current_watch != nullptr && stream != nullptr && fflush(stream) == EOF) return -1;
  return next(stream, offset, whence);
}

void rewind(FILE* stream) {
  static const auto next = Next<void (*)(FILE*)>("rewind");
  // rewind writes out what is buffered and forgets any error: flush first.
  if (current_watch != nullptr && stream != nullptr) fflush(stream);
  next(stream);
}

int fclose(FILE* stream) {
  static const auto next = Next<int (*)(FILE*)>("fclose");
  int result = next(stream);
  if (result == EOF) NoteFailure(errno);
  return result;
}

}  // extern "C"

namespace statcrane {

StdioWatch::StdioWatch(ReadWatcher* reads) : reads_(reads), outer_(current_watch) {
  current_watch = this;
}

StdioWatch::~StdioWatch() { current_watch = outer_; }

void StdioWatch::NoteFailure(int error) {
  if (error_ == 0) error_ = error != 0 ? error : EIO;
}

bool StdioWatch::BeforeRead() {
  if (!reads_cut_ && reads_ != nullptr && !reads_->KeepReading(bytes_read_)) reads_cut_ = true;
  return !reads_cut_;
}

}  // namespace statcrane
