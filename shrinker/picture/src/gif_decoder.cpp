// GIF reading through giflib: the first image in its own rectangle, with
// its local palette else the global one, no transparency.
#include <cstring>

#include <gif_lib.h>

#include "picture/load_picture.h"

namespace vantilo {

namespace {

struct MemoryInput {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t offset;
};

extern "C" int GifReadMemory(GifFileType* gif, GifByteType* out, int wanted) {
  auto* in = static_cast<MemoryInput*>(gif->UserData);
  if (wanted <= 0) return 0;
  std::size_t n = in->size - in->offset;
  if (n > static_cast<std::size_t>(wanted)) n = static_cast<std::size_t>(wanted);
  std::memcpy(out, in->data + in->offset, n);
  in->offset += n;
  return static_cast<int>(n);
}

class GifHandle {
 public:
  explicit GifHandle(MemoryInput* input) {
    int error = 0;
    gif_ = DGifOpen(input, GifReadMemory, &error);
  }
  ~GifHandle() {
    if (gif_) {
      int error = 0;
      DGifCloseFile(gif_, &error);
    }
  }
  GifHandle(const GifHandle&) = delete;
  GifHandle& operator=(const GifHandle&) = delete;
  GifFileType* get() const { return gif_; }

 private:
  GifFileType* gif_ = nullptr;
};

bool SkipExtension(GifFileType* gif) {
  int code = 0;
  GifByteType* block = nullptr;
  if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return false;
  while (block) {
    if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return false;
  }
  return true;
}

bool ReadFirstImage(GifFileType* gif, WorkPicture& picture) {
  if (DGifGetImageDesc(gif) == GIF_ERROR) return false;
  const GifImageDesc& desc = gif->Image;
  const int width = desc.Width;
  const int height = desc.Height;
  if (width <= 0 || height <= 0) return false;
  const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
  if (!map || !map->Colors || map->ColorCount <= 0 || map->ColorCount > 256) return false;
  if (!picture.SetIndexedSize(width, height)) return false;
  // Indices beyond the palette's own count meet the black padding of the
  // 256-entry palette instead of memory past the colour table.
  for (int i = 0; i < map->ColorCount; ++i) {
    const GifColorType& c = map->Colors[i];
    picture.Palette()[i] = PaletteEntry{c.Blue, c.Green, c.Red};
  }
  if (desc.Interlace) {
    static const int kStart[4] = {0, 4, 2, 1};
    static const int kStep[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
      for (int y = kStart[pass]; y < height; y += kStep[pass])
        if (DGifGetLine(gif, picture.Row(y), width) == GIF_ERROR) return false;
  } else {
    for (int y = 0; y < height; ++y)
      if (DGifGetLine(gif, picture.Row(y), width) == GIF_ERROR) return false;
  }
  return true;
}

}  // namespace

bool DecodeGif(const std::uint8_t* data, std::size_t size, WorkPicture& picture) {
  picture.Clear();
  if (!data || size == 0) return false;
  MemoryInput input{data, size, 0};
  GifHandle gif(&input);
  if (!gif.get()) return false;
  for (;;) {
    GifRecordType record = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif.get(), &record) == GIF_ERROR) break;
    if (record == EXTENSION_RECORD_TYPE) {
      if (!SkipExtension(gif.get())) break;
    } else if (record == IMAGE_DESC_RECORD_TYPE) {
      if (ReadFirstImage(gif.get(), picture)) return true;
      break;
    } else {
      break;  // end of file without an image
    }
  }
  picture.Clear();
  return false;
}

}  // namespace vantilo
