#include "ui/win32/folder_images.h"

#include <iterator>

#include "platform/win32/win32_handles.h"

namespace vorn::win32ui {
namespace {

constexpr int kSize = 16;
constexpr COLORREF kTransparent = RGB(255, 0, 255);
constexpr COLORREF kOutline = RGB(64, 64, 64);
constexpr COLORREF kFolder = RGB(240, 200, 80);
constexpr COLORREF kPaper = RGB(255, 255, 255);
constexpr COLORREF kBlue = RGB(40, 100, 190);

constexpr const char* kKeys[] = {"ROOT", "BOX", "T_Recv", "SEND", "SENDED", "DEL", "MEMO", "T_NWS", "C_NWS"};

// Drawing with a pen and a brush of the given colours, both released afterwards.
class Paint {
 public:
  Paint(HDC dc, COLORREF line, COLORREF fill)
      : dc_(dc), pen_(CreatePen(PS_SOLID, 1, line)), brush_(CreateSolidBrush(fill)) {
    oldPen_ = SelectObject(dc_, pen_.get());
    oldBrush_ = SelectObject(dc_, brush_.get());
  }
  Paint(const Paint&) = delete;
  Paint& operator=(const Paint&) = delete;
  ~Paint() {
    SelectObject(dc_, oldPen_);
    SelectObject(dc_, oldBrush_);
  }
  void Box(int left, int top, int right, int bottom) { Rectangle(dc_, left, top, right, bottom); }
  void Round(int left, int top, int right, int bottom) { Ellipse(dc_, left, top, right, bottom); }
  void Shape(std::initializer_list<POINT> points) {
    Polygon(dc_, std::data(points), static_cast<int>(points.size()));
  }
  void Line(int x0, int y0, int x1, int y1) {
    MoveToEx(dc_, x0, y0, nullptr);
    LineTo(dc_, x1, y1);
  }

 private:
  HDC dc_;
  win32::GdiObject<HPEN> pen_;
  win32::GdiObject<HBRUSH> brush_;
  HGDIOBJ oldPen_, oldBrush_;
};

void Folder(HDC dc) {
  Paint paint(dc, kOutline, kFolder);
  paint.Shape({{1, 3}, {6, 3}, {7, 5}, {14, 5}, {14, 13}, {1, 13}});
}

void Envelope(HDC dc, int top, COLORREF fill) {
  Paint paint(dc, kOutline, fill);
  paint.Box(1, top, 15, top + 9);
  paint.Line(1, top, 8, top + 5);
  paint.Line(8, top + 5, 15, top);
}

void Arrow(HDC dc, bool down, COLORREF fill) {
  Paint paint(dc, kOutline, fill);
  if (down) {
    paint.Shape({{7, 0}, {11, 0}, {11, 4}, {13, 4}, {9, 8}, {5, 4}, {7, 4}});
  } else {
    paint.Shape({{9, 0}, {13, 4}, {11, 4}, {11, 8}, {7, 8}, {7, 4}, {5, 4}});
  }
}

void Tray(HDC dc) {
  Paint paint(dc, kOutline, kFolder);
  paint.Shape({{1, 9}, {5, 9}, {6, 11}, {10, 11}, {11, 9}, {14, 9}, {14, 14}, {1, 14}});
}

void Sheet(HDC dc, int left, int top, int right, int bottom) {
  Paint paint(dc, kOutline, kPaper);
  paint.Box(left, top, right, bottom);
  for (int y = top + 3; y < bottom - 2; y += 2) paint.Line(left + 2, y, right - 2, y);
}

void Draw(HDC dc, int index) {
  switch (index) {
    case 0:  // ROOT: the mail program, an envelope over a blue disc
    {
      Paint paint(dc, kBlue, kBlue);
      paint.Round(0, 0, 12, 12);
    }
      Envelope(dc, 6, kPaper);
      break;
    case 1:  // BOX: local folders
      Folder(dc);
      break;
    case 2:  // T_Recv: inbox, mail coming down into a tray
      Tray(dc);
      Arrow(dc, true, RGB(60, 170, 60));
      break;
    case 3:  // SEND: outbox, mail going up out of a tray
      Tray(dc);
      Arrow(dc, false, RGB(220, 90, 40));
      break;
    case 4:  // SENDED: sent items, a folder with a letter
      Folder(dc);
      Envelope(dc, 7, kPaper);
      break;
    case 5: {  // DEL: deleted items, a bin
      Paint paint(dc, kOutline, RGB(170, 170, 170));
      paint.Box(3, 4, 13, 15);
      paint.Box(2, 2, 14, 4);
      paint.Line(6, 6, 6, 13);
      paint.Line(10, 6, 10, 13);
      break;
    }
    case 6: {  // MEMO: drafts, a sheet and a pencil
      Sheet(dc, 1, 1, 11, 15);
      Paint paint(dc, kOutline, RGB(230, 180, 40));
      paint.Shape({{13, 3}, {15, 5}, {8, 12}, {6, 12}, {6, 10}});
      break;
    }
    case 7: {  // T_NWS: news, a globe
      Paint paint(dc, kBlue, RGB(120, 180, 240));
      paint.Round(1, 1, 15, 15);
      paint.Line(1, 8, 15, 8);
      paint.Round(5, 1, 11, 15);
      break;
    }
    default:  // C_NWS: one news group, a newspaper
      Sheet(dc, 1, 2, 15, 14);
      {
        Paint paint(dc, kOutline, kBlue);
        paint.Box(3, 4, 8, 8);
      }
      break;
  }
}

}  // namespace

HIMAGELIST CreateFolderImageList() {
  const int count = static_cast<int>(std::size(kKeys));
  HIMAGELIST list = ImageList_Create(kSize, kSize, ILC_COLOR24 | ILC_MASK, count, 0);
  if (!list) return nullptr;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  win32::GdiObject<HBITMAP> strip(CreateCompatibleBitmap(screen, kSize * count, kSize));
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, strip.get());
  win32::GdiObject<HBRUSH> background(CreateSolidBrush(kTransparent));
  RECT all{0, 0, kSize * count, kSize};
  FillRect(dc, &all, background.get());
  for (int i = 0; i < count; ++i) {
    SetViewportOrgEx(dc, i * kSize, 0, nullptr);
    Draw(dc, i);
  }
  SetViewportOrgEx(dc, 0, 0, nullptr);
  SelectObject(dc, old);
  DeleteDC(dc);
  ImageList_AddMasked(list, strip.get(), kTransparent);
  return list;
}

int FolderImageIndex(const std::string& imageKey) {
  for (size_t i = 0; i < std::size(kKeys); ++i)
    if (imageKey == kKeys[i]) return static_cast<int>(i);
  return 1;
}

}  // namespace vorn::win32ui
