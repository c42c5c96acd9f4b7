#include "screen/drivers/gdi_window.h"

#include <utility>

#include "screen/cp437.h"
#include "screen/drivers/gdi_rules.h"
#include "screen/key_codes.h"

namespace quillfex {
namespace {

constexpr char windowClassName[] = "QuillfexScreen";
constexpr DWORD windowedStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr DWORD fullScreenStyle = WS_POPUP;

static_assert(virtualKey::enter == VK_RETURN && virtualKey::alt == VK_MENU && virtualKey::pageUp == VK_PRIOR &&
              virtualKey::pageDown == VK_NEXT && virtualKey::end == VK_END && virtualKey::home == VK_HOME &&
              virtualKey::left == VK_LEFT && virtualKey::up == VK_UP && virtualKey::right == VK_RIGHT &&
              virtualKey::down == VK_DOWN && virtualKey::insert == VK_INSERT && virtualKey::del == VK_DELETE &&
              virtualKey::f1 == VK_F1 && virtualKey::f4 == VK_F4 && virtualKey::f10 == VK_F10 &&
              virtualKey::f12 == VK_F12);

HINSTANCE programInstance() { return GetModuleHandleA(nullptr); }

ScreenRect primaryScreen() { return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

ScreenRect monitorUnderMousePointer() {
  POINT pointer{};
  if (!GetCursorPos(&pointer)) return primaryScreen();
  const HMONITOR monitor = MonitorFromPoint(pointer, MONITOR_DEFAULTTONULL);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!monitor || !GetMonitorInfoA(monitor, &info)) return primaryScreen();
  return {info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right, info.rcMonitor.bottom};
}

struct WindowFrame {
  DWORD style;
  int left, top, width, height;
};

WindowFrame windowedFrame() {
  RECT outer{0, 0, surfaceWidth, surfaceHeight};
  AdjustWindowRect(&outer, windowedStyle, FALSE);
  const int width = outer.right - outer.left;
  const int height = outer.bottom - outer.top;
  const WindowOrigin origin = centredWindowOrigin(monitorUnderMousePointer(), width, height);
  return {windowedStyle, origin.left, origin.top, width, height};
}

// The display now has the surface's size, so the window covers it from the primary screen's corner.
WindowFrame fullScreenFrame() { return {fullScreenStyle, 0, 0, surfaceWidth, surfaceHeight}; }

bool keyTypesCharacter(WPARAM virtualKeyCode) {
  // The top bit marks a dead key, which types its character with the next key.
  return (MapVirtualKeyA(static_cast<UINT>(virtualKeyCode), MAPVK_VK_TO_CHAR) & 0x7FFFFFFF) != 0;
}

bool keyIsDown(int virtualKeyCode) { return GetKeyState(virtualKeyCode) < 0; }

bool lParamBit(LPARAM lParam, int bit) { return ((static_cast<std::uint64_t>(lParam) >> bit) & 1) != 0; }

std::uint8_t cp437FromAnsiCodePage(std::uint8_t character) {
  if (character < 0x80) return character;
  const char ansi = static_cast<char>(character);
  wchar_t unicode = 0;
  if (MultiByteToWideChar(CP_ACP, 0, &ansi, 1, &unicode, 1) != 1) return '?';
  return cp437FromTypedCharacter(unicode);
}

}  // namespace

bool registerScreenWindowClass() {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = &ScreenWindow::windowProcedure;
  windowClass.hInstance = programInstance();
  windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.lpszClassName = windowClassName;
  return RegisterClassA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

void unregisterScreenWindowClass() { UnregisterClassA(windowClassName, programInstance()); }

void handleWaitingMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

ScreenWindow::ScreenWindow(const Surface& surface, std::string title) : surface_(surface), title_(std::move(title)) {}

ScreenWindow::~ScreenWindow() { close(); }

bool ScreenWindow::open(WindowMode mode) {
  close();
  mode_ = mode;
  const WindowFrame frame = mode == WindowMode::windowed ? windowedFrame() : fullScreenFrame();
  if (!CreateWindowExA(0, windowClassName, title_.c_str(), frame.style, frame.left, frame.top, frame.width,
                       frame.height, nullptr, nullptr, programInstance(), this)) {
    window_ = nullptr;
    return false;
  }
  ShowWindow(window_, SW_SHOW);
  SetForegroundWindow(window_);
  return true;
}

void ScreenWindow::close() {
  if (!window_) return;
  DestroyWindow(std::exchange(window_, nullptr));
}

void ScreenWindow::copyRows(RowRange rows) {
  if (!window_) return;
  const HDC deviceContext = GetDC(window_);
  copyRowsTo(deviceContext, rows);
  ReleaseDC(window_, deviceContext);
}

std::vector<KeyCode> ScreenWindow::takeKeys() { return std::exchange(keys_, {}); }

bool ScreenWindow::takeModeSwitchRequest() { return std::exchange(modeSwitchRequested_, false); }

LRESULT CALLBACK ScreenWindow::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) adopt(window, lParam);
  auto* self = reinterpret_cast<ScreenWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!self || self->window_ != window) return DefWindowProcA(window, message, wParam, lParam);
  return self->handleMessage(message, wParam, lParam);
}

// The first message that carries CreateWindowEx's parameter ties the window to its object; earlier ones get
// the default handling.
void ScreenWindow::adopt(HWND window, LPARAM createParameters) {
  auto* self = static_cast<ScreenWindow*>(reinterpret_cast<CREATESTRUCTA*>(createParameters)->lpCreateParams);
  self->window_ = window;
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
}

LRESULT ScreenWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
      return onKeyDown(wParam, lParam);
    case WM_CHAR:
      return onChar(wParam, lParam);
    case WM_SYSKEYDOWN:
      return onSystemKeyDown(wParam, lParam);
    case WM_CLOSE:
      return onClose();
    case WM_SIZE:
      return onSize(wParam);
    case WM_PAINT:
      return onPaint();
    default:
      return DefWindowProcA(window_, message, wParam, lParam);
  }
}

LRESULT ScreenWindow::onKeyDown(WPARAM wParam, LPARAM lParam) {
  const KeyDownEvent event{
      .virtualKey = static_cast<int>(wParam),
      .extended = lParamBit(lParam, 24),
      .shift = keyIsDown(VK_SHIFT),
      .ctrl = keyIsDown(VK_CONTROL),
      .numLock = (GetKeyState(VK_NUMLOCK) & 1) != 0,
      .producesCharacter = keyTypesCharacter(wParam),
  };
  if (const auto code = keyDownCode(event)) queueRepeated(*code, repeatCount(lParam));
  return 0;
}

LRESULT ScreenWindow::onChar(WPARAM wParam, LPARAM lParam) {
  if (wParam > 0xFF) return 0;
  queueRepeated(cp437FromAnsiCodePage(static_cast<std::uint8_t>(wParam)), repeatCount(lParam));
  return 0;
}

LRESULT ScreenWindow::onSystemKeyDown(WPARAM wParam, LPARAM lParam) {
  const SystemKeyEvent event{
      .virtualKey = static_cast<int>(wParam),
      .altHeld = lParamBit(lParam, 29),
      .repeat = lParamBit(lParam, 30),
      .windowActive = GetActiveWindow() == window_,
  };
  switch (systemKeyAction(event)) {
    case SystemKeyAction::withhold:
      return 0;
    case SystemKeyAction::switchFullScreen:
      modeSwitchRequested_ = true;
      return 0;
    case SystemKeyAction::defaultHandling:
      break;
  }
  return DefWindowProcA(window_, WM_SYSKEYDOWN, wParam, lParam);
}

// The window stays open: the program learns of the request only through the close key.
LRESULT ScreenWindow::onClose() {
  if (const auto code = extendedKeyCode(Key::close, {})) keys_.push_back(*code);
  return 0;
}

LRESULT ScreenWindow::onSize(WPARAM wParam) {
  if (wParam == SIZE_MAXIMIZED && mode_ == WindowMode::windowed) modeSwitchRequested_ = true;
  return 0;
}

LRESULT ScreenWindow::onPaint() {
  PAINTSTRUCT paint;
  const HDC deviceContext = BeginPaint(window_, &paint);
  copyRowsTo(deviceContext, {0, surfaceHeight - 1});
  EndPaint(window_, &paint);
  return 0;
}

void ScreenWindow::copyRowsTo(HDC deviceContext, RowRange rows) {
  const RowCopy copy = rowCopyFor(rows);
  if (copy.rowCount == 0) return;
  BITMAPINFO bitmap{};
  bitmap.bmiHeader.biSize = sizeof bitmap.bmiHeader;
  bitmap.bmiHeader.biWidth = surfaceWidth;
  bitmap.bmiHeader.biHeight = copy.dibHeight;
  bitmap.bmiHeader.biPlanes = 1;
  bitmap.bmiHeader.biBitCount = 32;
  bitmap.bmiHeader.biCompression = BI_RGB;
  // The bitmap is exactly the copied rows, so its first scan line is the window's row firstRow.
  SetDIBitsToDevice(deviceContext, 0, copy.firstRow, surfaceWidth, static_cast<DWORD>(copy.rowCount), 0, 0, 0,
                    static_cast<UINT>(copy.rowCount), surface_.row(copy.firstRow), &bitmap, DIB_RGB_COLORS);
}

void ScreenWindow::queueRepeated(KeyCode code, int times) { keys_.insert(keys_.end(), times, code); }

}  // namespace quillfex
