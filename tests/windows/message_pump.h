// The window tests' message loop: dispatches what arrives until the test's
// condition holds or 20 s have passed.
#pragma once

#include <windows.h>

#include <functional>

namespace wandrix::windows {

inline void pump_messages(const std::function<bool()>& done) {
  const ULONGLONG until = ::GetTickCount64() + 20000;
  MSG message{};
  while (!done() && ::GetTickCount64() < until) {
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    ::Sleep(5);
  }
}

}  // namespace wandrix::windows
