#include <dshow/filters/AsyncReaderIO.h>

extern "C" {
#include <libavformat/avio.h>
#include <libavutil/error.h>
#include <libavutil/mem.h>
}

#include <algorithm>

namespace plat {

namespace {
constexpr int kBufferSize = 64 * 1024;
}

AsyncReaderIO::AsyncReaderIO(IAsyncReader* reader) : m_reader(reader) {
  LONGLONG total = 0, available = 0;
  if (SUCCEEDED(m_reader->Length(&total, &available))) m_length = available;
  auto* buffer = static_cast<unsigned char*>(av_malloc(kBufferSize));
  if (!buffer) return;
  m_context = avio_alloc_context(buffer, kBufferSize, 0, this, &AsyncReaderIO::read, nullptr, &AsyncReaderIO::seek);
  if (!m_context) av_free(buffer);
}

AsyncReaderIO::~AsyncReaderIO() {
  if (!m_context) return;
  av_freep(&m_context->buffer);
  avio_context_free(&m_context);
}

int AsyncReaderIO::read(void* opaque, std::uint8_t* buffer, int size) {
  auto* self = static_cast<AsyncReaderIO*>(opaque);
  const auto length = static_cast<int>(std::min<std::int64_t>(size, self->m_length - self->m_position));
  if (length <= 0) return AVERROR_EOF;
  if (FAILED(self->m_reader->SyncRead(self->m_position, length, buffer))) return AVERROR(EIO);
  self->m_position += length;
  return length;
}

std::int64_t AsyncReaderIO::seek(void* opaque, std::int64_t offset, int whence) {
  auto* self = static_cast<AsyncReaderIO*>(opaque);
  switch (whence & ~AVSEEK_FORCE) {
    case AVSEEK_SIZE: return self->m_length;
    case SEEK_SET: break;
    case SEEK_CUR: offset += self->m_position; break;
    case SEEK_END: offset += self->m_length; break;
    default: return AVERROR(EINVAL);
  }
  if (offset < 0 || offset > self->m_length) return AVERROR(EINVAL);
  self->m_position = offset;
  return offset;
}

}  // namespace plat
