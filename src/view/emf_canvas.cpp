#include "view/emf_canvas.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "view/object_table.h"

namespace wandrix {
namespace {

constexpr std::uint32_t kHeaderSize = 108;
constexpr std::uint32_t kSignature = 0x464D4520u;  // " EMF"
constexpr std::uint32_t kVersion = 0x00010000u;

std::uint32_t word(long long v) { return static_cast<std::uint32_t>(v); }

// UTF-8 to UTF-16; a malformed byte becomes U+FFFD.
std::u16string utf16(const std::string& text) {
  std::u16string out;
  for (std::size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    const int extra = b < 0x80         ? 0
                      : (b >> 5) == 6  ? 1
                      : (b >> 4) == 14 ? 2
                      : (b >> 3) == 30 ? 3
                                       : -1;
    char32_t c = extra == 0 ? b : extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
    bool ok = extra >= 0 && i + static_cast<std::size_t>(extra) < text.size();
    for (int k = 1; ok && k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
      ok = (next & 0xC0) == 0x80;
      c = (c << 6) | (next & 0x3F);
    }
    if (!ok || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
      out += u'\uFFFD';
      ++i;
      continue;
    }
    i += static_cast<std::size_t>(extra) + 1;
    if (c >= 0x10000) {
      c -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (c >> 10));
      out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
  }
  return out;
}

}  // namespace

EmfCanvas::EmfCanvas(EmfDevice device, std::optional<Rect> frame, const std::string& app,
                     const std::string& title)
    : device_(device), frame_(frame) {
  if (!app.empty() || !title.empty()) {
    description_ = utf16(app) + u'\0' + utf16(title) + u'\0' + u'\0';
  }
  const std::uint32_t stock[] = {0, 4, 5, 6, 7, 8};  // StockObject order
  for (int i = 0; i < 6; ++i) {
    objects_.push_back({i < 3 ? Kind::brush : Kind::pen, 0, stock[i], 0});
  }
  slots_.assign(1, true);
  pen_ = stock_object(StockObject::black_pen);
  brush_ = stock_object(StockObject::white_brush);
  // The header is written last, over this placeholder.
  const std::size_t text_bytes = (description_.size() * 2 + 3) / 4 * 4;
  bytes_.assign(kHeaderSize + text_bytes, 0);
}

void EmfCanvas::put(std::initializer_list<std::uint32_t> words) {
  const std::size_t at = bytes_.size();
  bytes_.resize(at + words.size() * 4);
  std::uint8_t* p = bytes_.data() + at;
  for (std::uint32_t w : words) {
    p[0] = static_cast<std::uint8_t>(w);
    p[1] = static_cast<std::uint8_t>(w >> 8);
    p[2] = static_cast<std::uint8_t>(w >> 16);
    p[3] = static_cast<std::uint8_t>(w >> 24);
    p += 4;
  }
}

void EmfCanvas::record(Record type, std::initializer_list<std::uint32_t> payload) {
  if (finished_) {
    return;
  }
  put({type, static_cast<std::uint32_t>(8 + 4 * payload.size())});
  put(payload);
  ++records_;
}

ObjectHandle EmfCanvas::add_object(Kind kind, Colour colour) {
  return add_to_object_table(objects_, Object{kind, colour, 0, 0});
}

ObjectHandle EmfCanvas::create_pen(Colour colour) { return add_object(Kind::pen, colour); }
ObjectHandle EmfCanvas::create_brush(Colour colour) { return add_object(Kind::brush, colour); }

ObjectHandle EmfCanvas::stock_object(StockObject object) {
  return static_cast<ObjectHandle>(object) + 1;
}

std::uint32_t EmfCanvas::take_slot() {
  const auto free = std::find(slots_.begin() + 1, slots_.end(), false);
  const auto slot = static_cast<std::uint32_t>(free - slots_.begin());
  if (free == slots_.end()) {
    slots_.push_back(true);
  } else {
    *free = true;
  }
  most_slots_ = std::max(most_slots_, ++slots_in_use_);
  return slot;
}

ObjectHandle EmfCanvas::select(ObjectHandle object) {
  if (!valid(object) || finished_) {
    return 0;
  }
  Object& o = objects_[object - 1];
  ObjectHandle& current = o.kind == Kind::pen ? pen_ : brush_;
  ObjectHandle& held = o.kind == Kind::pen ? recorded_pen_ : recorded_brush_;
  if (held == object) {
    return object;  // selected already: a reader's state would not change
  }
  held = object;
  if (is_stock(object)) {
    record(kSelectObject, {kStockFlag | o.stock_index});
  } else {
    if (o.slot == 0) {
      o.slot = take_slot();
      if (o.kind == Kind::pen) {
        record(kCreatePen, {o.slot, 0, 0, 0, o.colour});
      } else {
        record(kCreateBrushIndirect, {o.slot, 0, o.colour, 0});
      }
    }
    record(kSelectObject, {o.slot});
  }
  const ObjectHandle before = current;
  current = object;
  return before;
}

void EmfCanvas::delete_object(ObjectHandle object) {
  if (!valid(object) || is_stock(object)) {
    return;
  }
  Object& o = objects_[object - 1];
  if (o.slot != 0) {
    record(kDeleteObject, {o.slot});
    slots_[o.slot] = false;
    --slots_in_use_;
  }
  // A handle deleted while selected may come back as a new object, which
  // must then be recorded when selected.
  if (recorded_pen_ == object) {
    recorded_pen_ = 0;
  }
  if (recorded_brush_ == object) {
    recorded_brush_ = 0;
  }
  o = Object{};
}

void EmfCanvas::add_bounds(long long left, long long top, long long right, long long bottom) {
  if (finished_ || left > right || top > bottom) {
    return;
  }
  if (!drawn_) {
    bounds_[0] = left;
    bounds_[1] = top;
    bounds_[2] = right;
    bounds_[3] = bottom;
    drawn_ = true;
    return;
  }
  bounds_[0] = std::min(bounds_[0], left);
  bounds_[1] = std::min(bounds_[1], top);
  bounds_[2] = std::max(bounds_[2], right);
  bounds_[3] = std::max(bounds_[3], bottom);
}

void EmfCanvas::move_to(int x, int y) {
  if (positioned_ && x == x_ && y == y_) {
    return;  // the position already: nothing to record
  }
  record(kMoveToEx, {word(x), word(y)});
  positioned_ = true;
  x_ = x;
  y_ = y;
}

void EmfCanvas::line_to(int x, int y) {
  record(kLineTo, {word(x), word(y)});
  add_bounds(std::min(x_, x), std::min(y_, y), std::max(x_, x), std::max(y_, y));
  positioned_ = true;
  x_ = x;
  y_ = y;
}

void EmfCanvas::record_box(Record type, int left, int top, int right, int bottom) {
  const long long l = std::min(left, right);
  const long long t = std::min(top, bottom);
  const long long r = static_cast<long long>(std::max(left, right)) - 1;
  const long long b = static_cast<long long>(std::max(top, bottom)) - 1;
  record(type, {word(l), word(t), word(r), word(b)});
  add_bounds(l, t, r, b);
}

void EmfCanvas::ellipse(int left, int top, int right, int bottom) {
  record_box(kEllipse, left, top, right, bottom);
}

void EmfCanvas::rectangle(int left, int top, int right, int bottom) {
  record_box(kRectangle, left, top, right, bottom);
}

void EmfCanvas::fill_rect(const Rect& box, ObjectHandle brush) {
  if (!valid(brush) || objects_[brush - 1].kind != Kind::brush || box.right <= box.left ||
      box.bottom <= box.top || finished_) {
    return;
  }
  const ObjectHandle before = select(brush);
  const long long w = static_cast<long long>(box.right) - box.left;
  const long long h = static_cast<long long>(box.bottom) - box.top;
  const long long r = box.left + w - 1;
  const long long b = box.top + h - 1;
  // The bits of 1.0f (std::bit_cast is missing from the WebAssembly build's library).
  const float one_float = 1.0f;
  std::uint32_t one = 0;
  std::memcpy(&one, &one_float, sizeof one);
  record(kBitBlt, {word(box.left),
                   word(box.top),
                   word(r),
                   word(b),  // bounds
                   word(box.left),
                   word(box.top),
                   word(w),
                   word(h),
                   kPatCopy,
                   0,
                   0,  // source origin
                   one,
                   0,
                   0,
                   one,
                   0,
                   0,  // source transform
                   0,
                   0,  // source background, colour usage
                   0,
                   0,
                   0,
                   0});  // no bitmap
  add_bounds(box.left, box.top, r, b);
  select(before);
}

void EmfCanvas::draw_image(int left, int top, const Image& image) {
  if (finished_ || image.width <= 0 || image.height <= 0) {
    return;
  }
  const auto w = static_cast<std::uint32_t>(image.width);
  const auto h = static_cast<std::uint32_t>(image.height);
  const std::uint32_t stride = (3 * w + 3) / 4 * 4;  // rows of a DIB end on 4 bytes
  const std::uint32_t bits = stride * h;
  const long long right = static_cast<long long>(left) + w - 1;
  const long long bottom = static_cast<long long>(top) + h - 1;
  put({kStretchDiBits,
       kStretchDiBitsSize + kBitmapInfoSize + bits,
       word(left),
       word(top),
       word(right),
       word(bottom),
       word(left),
       word(top),
       0,
       0,
       w,
       h,  // source box
       kStretchDiBitsSize,
       kBitmapInfoSize,
       kStretchDiBitsSize + kBitmapInfoSize,
       bits,
       0,  // DIB_RGB_COLORS
       kSrcCopy,
       w,
       h});
  put({kBitmapInfoSize, w, h, 1 | (24u << 16), 0, bits, 0, 0, 0, 0});  // 24 bits, BI_RGB
  // Rows bottom to top, each pixel blue, green, red.
  std::size_t at = bytes_.size();
  bytes_.resize(at + bits, 0);
  for (std::uint32_t y = h; y-- > 0;) {
    const std::uint32_t* row = image.pixels.data() + static_cast<std::size_t>(y) * w;
    std::uint8_t* out = bytes_.data() + at;
    for (std::uint32_t x = 0; x < w; ++x, out += 3) {
      out[0] = static_cast<std::uint8_t>(row[x]);
      out[1] = static_cast<std::uint8_t>(row[x] >> 8);
      out[2] = static_cast<std::uint8_t>(row[x] >> 16);
    }
    at += stride;
  }
  ++records_;
  add_bounds(left, top, right, bottom);
}

void EmfCanvas::set_invert(bool on) { record(kSetRop2, {on ? kR2Not : kR2CopyPen}); }

void EmfCanvas::write_header() {
  long long frame[4] = {0, 0, 0, 0};
  if (frame_) {
    frame[0] = frame_->left;
    frame[1] = frame_->top;
    frame[2] = frame_->right;
    frame[3] = frame_->bottom;
  } else {
    const long long mm[2] = {device_.width_mm, device_.height_mm};
    const long long px[2] = {std::max(device_.width_px, 1), std::max(device_.height_px, 1)};
    for (int i = 0; i < 4; ++i) {
      frame[i] = bounds_[i] * mm[i % 2] * 100 / px[i % 2];
    }
  }
  const auto header_size =
      static_cast<std::uint32_t>((description_.size() * 2 + 3) / 4 * 4) + kHeaderSize;
  std::vector<std::uint8_t> tail;
  tail.swap(bytes_);
  put({kHeader,
       header_size,
       word(bounds_[0]),
       word(bounds_[1]),
       word(bounds_[2]),
       word(bounds_[3]),
       word(frame[0]),
       word(frame[1]),
       word(frame[2]),
       word(frame[3]),
       kSignature,
       kVersion,
       static_cast<std::uint32_t>(tail.size()),
       records_,
       std::min(most_slots_ + 1, 0xFFFFu),  // nHandles and the reserved half
       static_cast<std::uint32_t>(description_.size()),
       description_.empty() ? 0 : kHeaderSize,
       0,
       word(device_.width_px),
       word(device_.height_px),
       word(device_.width_mm),
       word(device_.height_mm),
       0,
       0,
       0,
       word(device_.width_mm * 1000LL),
       word(device_.height_mm * 1000LL)});
  std::copy(bytes_.begin(), bytes_.end(), tail.begin());
  for (std::size_t i = 0; i < description_.size(); ++i) {
    tail[kHeaderSize + 2 * i] = static_cast<std::uint8_t>(description_[i]);
    tail[kHeaderSize + 2 * i + 1] = static_cast<std::uint8_t>(description_[i] >> 8);
  }
  bytes_.swap(tail);
}

std::vector<std::uint8_t> EmfCanvas::finish() {
  if (finished_) {
    return {};
  }
  record(kEof, {0, 16, 20});
  write_header();
  finished_ = true;
  return std::move(bytes_);
}

}  // namespace wandrix
