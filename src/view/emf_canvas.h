// EmfCanvas: records the drawing calls as an enhanced metafile, the vector
// picture that "Save As Metafile" writes and the clipboard carries.
//
// The file is what a metafile device context of the reference screen makes
// of the same calls:
// * A pen or brush becomes a record (CREATEPEN / CREATEBRUSHINDIRECT) just
//   before it is first selected, in the lowest free slot of the handle table
//   from 1; deleting it then records DELETEOBJECT and frees the slot, and
//   deleting one never selected records nothing. Stock objects are selected
//   by their stock index. nHandles is the most slots in use at once + 1.
// * What a reader could not tell from nothing is not recorded: selecting the
//   pen or brush that a recorded selection holds already, and moving to the
//   position that the last move or line recorded. (The stock objects a fresh
//   context holds are selected by a record all the same: some readers start
//   without them.)
// * Ellipse and rectangle boxes are stored inclusive: (l, t, r-1, b-1), put in
//   order first. fill_rect records the brush's selection, a BITBLT that
//   copies the brush over the box, and the selection of the previous brush.
// * draw_image records a STRETCHDIBITS of a 24-bit bottom-up DIB, one source
//   pixel to one device pixel, copied (SRCCOPY).
// * set_invert records SETROP2 with R2_NOT or R2_COPYPEN.
// * The header's bounds are the union of what was drawn (both ends of every
//   line, the stored boxes, the BITBLT boxes), or (0, 0, -1, -1) when nothing
//   was. Its frame, in 0.01 mm, is the one given, or else the bounds scaled
//   by the device's millimetres over its pixels.
// * The description is "app NUL title NUL NUL" in UTF-16LE.
// Nothing is clipped: the file keeps everything.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/host.h"
#include "view/canvas.h"

namespace wandrix {

// The reference device of a metafile: the screen's size in pixels and in
// millimetres.
using EmfDevice = ScreenMetrics;

class EmfCanvas final : public Canvas {
 public:
  // frame in 0.01 mm (left, top, right, bottom as stored); app and title
  // make the description (none when both are empty).
  EmfCanvas(EmfDevice device, std::optional<Rect> frame, const std::string& app,
            const std::string& title);

  // Completes the metafile and hands over its bytes. The canvas is spent:
  // later calls record nothing and finish() returns nothing.
  [[nodiscard]] std::vector<std::uint8_t> finish();

  ObjectHandle create_pen(Colour colour) override;
  ObjectHandle create_brush(Colour colour) override;
  ObjectHandle stock_object(StockObject object) override;
  ObjectHandle select(ObjectHandle object) override;
  void delete_object(ObjectHandle object) override;

  void move_to(int x, int y) override;
  void line_to(int x, int y) override;
  void ellipse(int left, int top, int right, int bottom) override;
  void rectangle(int left, int top, int right, int bottom) override;
  void fill_rect(const Rect& box, ObjectHandle brush) override;
  void set_invert(bool on) override;
  void draw_image(int left, int top, const Image& image) override;

  // Record types and values of the format that tests and readers share.
  enum Record : std::uint32_t {
    kHeader = 1,
    kEof = 14,
    kSetRop2 = 20,
    kMoveToEx = 27,
    kSelectObject = 37,
    kCreatePen = 38,
    kCreateBrushIndirect = 39,
    kDeleteObject = 40,
    kEllipse = 42,
    kRectangle = 43,
    kLineTo = 54,
    kBitBlt = 76,
    kStretchDiBits = 81,
  };
  static constexpr std::uint32_t kStockFlag = 0x80000000u;
  static constexpr std::uint32_t kPatCopy = 0x00F00021u;
  static constexpr std::uint32_t kR2Not = 6;
  static constexpr std::uint32_t kR2CopyPen = 13;
  static constexpr std::uint32_t kSrcCopy = 0x00CC0020u;
  // The fixed part of a STRETCHDIBITS record and the BITMAPINFOHEADER after it.
  static constexpr std::uint32_t kStretchDiBitsSize = 80;
  static constexpr std::uint32_t kBitmapInfoSize = 40;

 private:
  enum class Kind : std::uint8_t { free, pen, brush };
  struct Object {
    Kind kind = Kind::free;
    Colour colour = 0;
    std::uint32_t stock_index = 0;  // stock objects only
    std::uint32_t slot = 0;         // handle-table slot once recorded; 0 before
  };

  ObjectHandle add_object(Kind kind, Colour colour);
  [[nodiscard]] bool valid(ObjectHandle h) const {
    return h != 0 && h <= objects_.size() && objects_[h - 1].kind != Kind::free;
  }
  [[nodiscard]] static bool is_stock(ObjectHandle h) { return h >= 1 && h <= 6; }
  std::uint32_t take_slot();
  void put(std::initializer_list<std::uint32_t> words);
  void record(Record type, std::initializer_list<std::uint32_t> payload);
  void record_box(Record type, int left, int top, int right, int bottom);
  void add_bounds(long long left, long long top, long long right, long long bottom);
  void write_header();

  EmfDevice device_;
  std::optional<Rect> frame_;
  std::u16string description_;  // empty, or "app\0title\0\0"
  std::vector<std::uint8_t> bytes_;
  std::uint32_t records_ = 1;  // the header
  std::vector<Object> objects_;
  std::vector<bool> slots_;  // slot 0 is the metafile itself
  std::uint32_t slots_in_use_ = 0;
  std::uint32_t most_slots_ = 0;
  ObjectHandle pen_ = 0;
  ObjectHandle brush_ = 0;
  // What the recorded selections hold; 0 before the first or once deleted.
  ObjectHandle recorded_pen_ = 0;
  ObjectHandle recorded_brush_ = 0;
  int x_ = 0;
  int y_ = 0;
  bool positioned_ = false;  // x_, y_ set by a recorded move or line
  bool drawn_ = false;
  long long bounds_[4] = {0, 0, -1, -1};
  bool finished_ = false;
};

}  // namespace wandrix
