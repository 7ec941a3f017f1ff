// libavformat's byte input over a file source's IAsyncReader, so the parsers read
// files the way the graph hands them over: through the pin they are connected to.
#pragma once

#include <com/ComPtr.h>
#include <dshow/asyncrdr.h>

#include <cstdint>

struct AVIOContext;

namespace plat {

class AsyncReaderIO {
 public:
  explicit AsyncReaderIO(IAsyncReader* reader);
  ~AsyncReaderIO();
  AsyncReaderIO(const AsyncReaderIO&) = delete;
  AsyncReaderIO& operator=(const AsyncReaderIO&) = delete;

  // Null when out of memory.
  AVIOContext* context() { return m_context; }

 private:
  static int read(void* opaque, std::uint8_t* buffer, int size);
  static std::int64_t seek(void* opaque, std::int64_t offset, int whence);

  ComPtr<IAsyncReader> m_reader;
  std::int64_t m_position = 0;
  std::int64_t m_length = 0;
  AVIOContext* m_context = nullptr;
};

}  // namespace plat
