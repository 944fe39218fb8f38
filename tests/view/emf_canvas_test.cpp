// EmfCanvas byte by byte: the header's fields and the records the drawing
// calls become.
#include "view/emf_canvas.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "view/emf_test_support.h"

namespace wandrix {
namespace {

using testing::emf_records;
using testing::EmfRecord;
using testing::i32_at;
using testing::u32_at;
using R = EmfCanvas::Record;

constexpr std::uint32_t kStock = EmfCanvas::kStockFlag;
constexpr EmfDevice kScreen{1024, 768, 320, 240};

TEST(EmfCanvasHeader, EmptyPictureWithDescription) {
  EmfCanvas canvas(kScreen, std::nullopt, "WANDRIX", "Robot path");
  const std::vector<std::uint8_t> b = canvas.finish();
  // "WANDRIX\0Robot path\0\0": 20 UTF-16 units, 40 bytes.
  ASSERT_EQ(b.size(), 108u + 40u + 20u);
  EXPECT_EQ(u32_at(b, 0), 1u);
  EXPECT_EQ(u32_at(b, 4), 148u);
  EXPECT_EQ(i32_at(b, 8), 0);  // bounds of nothing: (0, 0, -1, -1)
  EXPECT_EQ(i32_at(b, 12), 0);
  EXPECT_EQ(i32_at(b, 16), -1);
  EXPECT_EQ(i32_at(b, 20), -1);
  EXPECT_EQ(i32_at(b, 32), -1 * 320 * 100 / 1024);  // frame from the bounds
  EXPECT_EQ(i32_at(b, 36), -1 * 240 * 100 / 768);
  EXPECT_EQ(u32_at(b, 40), 0x464D4520u);
  EXPECT_EQ(u32_at(b, 44), 0x00010000u);
  EXPECT_EQ(u32_at(b, 48), b.size());
  EXPECT_EQ(u32_at(b, 52), 2u);  // header and EOF
  EXPECT_EQ(u32_at(b, 56), 1u);  // nHandles 1, reserved 0
  EXPECT_EQ(u32_at(b, 60), 20u);
  EXPECT_EQ(u32_at(b, 64), 108u);
  EXPECT_EQ(u32_at(b, 68), 0u);
  EXPECT_EQ(u32_at(b, 72), 1024u);
  EXPECT_EQ(u32_at(b, 76), 768u);
  EXPECT_EQ(u32_at(b, 80), 320u);
  EXPECT_EQ(u32_at(b, 84), 240u);
  EXPECT_EQ(u32_at(b, 88) | u32_at(b, 92) | u32_at(b, 96), 0u);
  EXPECT_EQ(u32_at(b, 100), 320000u);
  EXPECT_EQ(u32_at(b, 104), 240000u);
  const std::string expected("W\0A\0N\0D\0R\0I\0X\0\0\0R\0o\0b\0o\0t\0 \0p\0a\0t\0h\0\0\0\0\0", 40);
  EXPECT_EQ(std::string(b.begin() + 108, b.begin() + 148), expected);
  EXPECT_THAT(emf_records(b), ::testing::ElementsAre(EmfRecord{R::kEof, {0, 16, 20}}));
  EXPECT_TRUE(canvas.finish().empty());  // spent
}

TEST(EmfCanvasHeader, DescriptionPaddingAndNone) {
  EmfCanvas odd(kScreen, std::nullopt, "Wandrix", "Trajectory");  // 20 units
  EXPECT_EQ(u32_at(odd.finish(), 4), 148u);
  EmfCanvas padded(kScreen, std::nullopt, "ab", "c");  // 6 units = 12 bytes
  const std::vector<std::uint8_t> p = padded.finish();
  EXPECT_EQ(u32_at(p, 4), 120u);
  EXPECT_EQ(u32_at(p, 60), 6u);
  EmfCanvas accented(kScreen, std::nullopt, "Wandrix", "H\xC3\xBCgel");  // one unit for ü
  EXPECT_EQ(u32_at(accented.finish(), 60), 7u + 5u + 3u);
  EmfCanvas none(kScreen, std::nullopt, "", "");
  const std::vector<std::uint8_t> n = none.finish();
  EXPECT_EQ(u32_at(n, 4), 108u);
  EXPECT_EQ(u32_at(n, 60), 0u);
  EXPECT_EQ(u32_at(n, 64), 0u);
}

TEST(EmfCanvasHeader, BoundsAndFrame) {
  EmfCanvas canvas(kScreen, std::nullopt, "a", "b");
  canvas.move_to(-50, 900);  // a move alone adds nothing
  canvas.move_to(10, 20);
  canvas.line_to(30, 5);
  canvas.ellipse(98, 98, 102, 102);
  canvas.fill_rect(Rect{40, 40, 60, 210}, canvas.create_brush(kBlack));
  const std::vector<std::uint8_t> b = canvas.finish();
  EXPECT_EQ(i32_at(b, 8), 10);
  EXPECT_EQ(i32_at(b, 12), 5);
  EXPECT_EQ(i32_at(b, 16), 101);
  EXPECT_EQ(i32_at(b, 20), 209);
  EXPECT_EQ(i32_at(b, 24), 10 * 320 * 100 / 1024);
  EXPECT_EQ(i32_at(b, 28), 5 * 240 * 100 / 768);
  EXPECT_EQ(i32_at(b, 32), 101 * 320 * 100 / 1024);
  EXPECT_EQ(i32_at(b, 36), 209 * 240 * 100 / 768);

  EmfCanvas framed(kScreen, Rect{0, 0, 12250, 10812}, "Wandrix", "Trajectory");
  framed.rectangle(0, 0, 392, 346);
  const std::vector<std::uint8_t> f = framed.finish();
  EXPECT_EQ(i32_at(f, 16), 391);
  EXPECT_EQ(i32_at(f, 20), 345);
  EXPECT_EQ(i32_at(f, 32), 12250);
  EXPECT_EQ(i32_at(f, 36), 10812);
}

TEST(EmfCanvasRecords, ObjectsAreRecordedAtFirstSelectionInTheLowestFreeSlot) {
  EmfCanvas canvas(kScreen, std::nullopt, "a", "b");
  const ObjectHandle unused = canvas.create_pen(make_colour(1, 2, 3));
  const ObjectHandle pen = canvas.create_pen(make_colour(255, 0, 0));
  const ObjectHandle brush = canvas.create_brush(make_colour(0, 0, 255));
  const ObjectHandle old_pen = canvas.select(pen);
  const ObjectHandle old_brush = canvas.select(brush);
  EXPECT_EQ(old_pen, canvas.stock_object(StockObject::black_pen));
  EXPECT_EQ(old_brush, canvas.stock_object(StockObject::white_brush));
  canvas.ellipse(8, 8, 12, 12);
  canvas.delete_object(unused);  // never selected: nothing recorded
  EXPECT_EQ(canvas.select(old_pen), pen);
  canvas.delete_object(pen);  // frees slot 1
  const ObjectHandle pen2 = canvas.create_pen(make_colour(0, 255, 0));
  canvas.select(pen2);  // takes slot 1 again
  canvas.move_to(1, 2);
  canvas.line_to(3, 4);
  canvas.rectangle(9, 9, 5, 5);  // backwards: put in order
  canvas.select(old_pen);
  canvas.select(old_brush);
  canvas.delete_object(pen2);
  canvas.delete_object(brush);
  canvas.delete_object(canvas.stock_object(StockObject::black_pen));  // nothing
  canvas.set_invert(true);
  canvas.set_invert(false);
  const std::vector<std::uint8_t> b = canvas.finish();
  EXPECT_THAT(
      emf_records(b),
      ::testing::ElementsAre(
          EmfRecord{R::kCreatePen, {1, 0, 0, 0, 0x0000FF}}, EmfRecord{R::kSelectObject, {1}},
          EmfRecord{R::kCreateBrushIndirect, {2, 0, 0xFF0000, 0}}, EmfRecord{R::kSelectObject, {2}},
          EmfRecord{R::kEllipse, {8, 8, 11, 11}}, EmfRecord{R::kSelectObject, {kStock | 7}},
          EmfRecord{R::kDeleteObject, {1}}, EmfRecord{R::kCreatePen, {1, 0, 0, 0, 0x00FF00}},
          EmfRecord{R::kSelectObject, {1}}, EmfRecord{R::kMoveToEx, {1, 2}},
          EmfRecord{R::kLineTo, {3, 4}}, EmfRecord{R::kRectangle, {5, 5, 8, 8}},
          EmfRecord{R::kSelectObject, {kStock | 7}}, EmfRecord{R::kSelectObject, {kStock | 0}},
          EmfRecord{R::kDeleteObject, {1}}, EmfRecord{R::kDeleteObject, {2}},
          EmfRecord{R::kSetRop2, {6}}, EmfRecord{R::kSetRop2, {13}},
          EmfRecord{R::kEof, {0, 16, 20}}));
  EXPECT_EQ(u32_at(b, 52), emf_records(b).size() + 1);
  EXPECT_EQ(u32_at(b, 56), 3u);  // two slots at once + the metafile
}

TEST(EmfCanvasRecords, FillRectSelectsBlitsAndSelectsBack) {
  EmfCanvas canvas(kScreen, std::nullopt, "a", "b");
  const ObjectHandle hollow = canvas.stock_object(StockObject::hollow_brush);
  canvas.select(hollow);
  canvas.fill_rect(Rect{10, 20, 10, 30}, canvas.stock_object(StockObject::black_brush));  // empty
  canvas.fill_rect(Rect{0, 0, 5, 5}, canvas.create_pen(kBlack));  // a pen: nothing
  canvas.fill_rect(Rect{10, 20, 410, 320}, canvas.stock_object(StockObject::black_brush));
  const std::vector<EmfRecord> records = emf_records(canvas.finish());
  ASSERT_EQ(records.size(), 5u);
  EXPECT_EQ(records[0], (EmfRecord{R::kSelectObject, {kStock | 5}}));
  EXPECT_EQ(records[1], (EmfRecord{R::kSelectObject, {kStock | 4}}));
  EXPECT_EQ(records[2].type, static_cast<std::uint32_t>(R::kBitBlt));
  EXPECT_THAT(records[2].words,
              ::testing::ElementsAre(10, 20, 409, 319, 10, 20, 400, 300, 0x00F00021u, 0, 0,
                                     0x3F800000u, 0, 0, 0x3F800000u, 0, 0, 0, 0, 0, 0, 0, 0));
  EXPECT_EQ(records[3], (EmfRecord{R::kSelectObject, {kStock | 5}}));
  EXPECT_EQ(records[4].type, static_cast<std::uint32_t>(R::kEof));
}

// A walk's drawing selects its pen and brush around every dot; the file
// keeps only the selections that change what a reader holds.
TEST(EmfCanvasRecords, SelectionsThatChangeNothingAreNotRecorded) {
  EmfCanvas canvas(kScreen, std::nullopt, "a", "b");
  const ObjectHandle white_brush = canvas.stock_object(StockObject::white_brush);
  // The stock brush a fresh context holds is still selected by a record.
  EXPECT_EQ(canvas.select(white_brush), white_brush);
  const ObjectHandle pen = canvas.create_pen(make_colour(255, 0, 0));
  for (int dot = 0; dot < 3; ++dot) {
    EXPECT_EQ(canvas.select(pen), dot == 0 ? canvas.stock_object(StockObject::black_pen) : pen);
    canvas.ellipse(dot, 0, dot + 4, 4);
  }
  canvas.fill_rect(Rect{0, 0, 2, 2}, white_brush);  // the brush held: no selections
  canvas.move_to(5, 6);
  canvas.move_to(5, 6);  // no move
  canvas.line_to(7, 8);
  canvas.move_to(7, 8);  // no move
  canvas.line_to(9, 9);
  // Deleted while selected: the handle that comes back is a new pen.
  canvas.delete_object(pen);
  const ObjectHandle again = canvas.create_pen(make_colour(0, 255, 0));
  ASSERT_EQ(again, pen);
  canvas.select(again);
  const std::vector<EmfRecord> records = emf_records(canvas.finish());
  std::vector<std::uint32_t> types;
  for (const EmfRecord& r : records) {
    types.push_back(r.type);
  }
  EXPECT_THAT(types, ::testing::ElementsAre(R::kSelectObject, R::kCreatePen, R::kSelectObject,
                                            R::kEllipse, R::kEllipse, R::kEllipse, R::kBitBlt,
                                            R::kMoveToEx, R::kLineTo, R::kLineTo, R::kDeleteObject,
                                            R::kCreatePen, R::kSelectObject, R::kEof));
  EXPECT_EQ(records[0], (EmfRecord{R::kSelectObject, {kStock | 0}}));
  EXPECT_EQ(records[11], (EmfRecord{R::kCreatePen, {1, 0, 0, 0, 0x00FF00}}));
}

TEST(EmfCanvasRecords, HandleCountFollowsTheMostObjectsAliveAtOnce) {
  EmfCanvas canvas(kScreen, std::nullopt, "a", "b");
  for (int round = 0; round < 3; ++round) {
    const ObjectHandle p = canvas.create_pen(kBlack);
    const ObjectHandle q = canvas.create_brush(kWhite);
    const ObjectHandle r = canvas.create_brush(kBlack);
    canvas.select(p);
    canvas.select(q);
    canvas.select(r);
    canvas.select(canvas.stock_object(StockObject::black_pen));
    canvas.select(canvas.stock_object(StockObject::white_brush));
    canvas.delete_object(p);
    canvas.delete_object(q);
    canvas.delete_object(r);
  }
  EXPECT_EQ(u32_at(canvas.finish(), 56), 4u);
}

}  // namespace
}  // namespace wandrix
