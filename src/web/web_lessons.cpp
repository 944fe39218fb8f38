// The lessons on the page: File > Lessons... as the page's modal list, the
// lesson's text in the page's panel beside the landscape, and the list of
// lessons the page links. The lesson files lie in the site's "lessons"
// folder, which the page copies into the file system before the core starts
// (WebHost's program directory is the site's folder).
#include <emscripten.h>

#include <cstddef>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "lessons/lesson.h"
#include "web/web_host.h"

// clang-format off
// texts: title and first sentence of each lesson, in turn; -1 for Cancel.
EM_ASYNC_JS(int, wx_js_choose_lesson, (const char* const* texts, int count), {
  const items = [];
  for (let i = 0; i < count; ++i) {
    items.push({ title: UTF8ToString(HEAPU32[(texts >> 2) + 2 * i]),
                 summary: UTF8ToString(HEAPU32[(texts >> 2) + 2 * i + 1]) });
  }
  const chosen = await Module.page.lessons.choose(items);
  return chosen === null ? -1 : chosen;
});
EM_JS(void, wx_js_show_lesson, (const char* title, const char* const* paragraphs, int count), {
  const text = [];
  for (let i = 0; i < count; ++i) text.push(UTF8ToString(HEAPU32[(paragraphs >> 2) + i]));
  Module.page.lessons.show(UTF8ToString(title), text);
});
// clang-format on

namespace wandrix::web {

std::optional<std::size_t> WebHost::choose_lesson(const std::vector<LessonItem>& lessons) {
  std::vector<const char*> texts;
  texts.reserve(lessons.size() * 2);
  for (const LessonItem& lesson : lessons) {
    texts.push_back(lesson.title.c_str());
    texts.push_back(lesson.summary.c_str());
  }
  const int chosen = wx_js_choose_lesson(texts.data(), static_cast<int>(lessons.size()));
  if (chosen < 0 || static_cast<std::size_t>(chosen) >= lessons.size()) {
    return std::nullopt;
  }
  return static_cast<std::size_t>(chosen);
}

void WebHost::show_lesson(const std::string& title, const std::vector<std::string>& paragraphs) {
  std::vector<const char*> texts;
  texts.reserve(paragraphs.size());
  for (const std::string& paragraph : paragraphs) {
    texts.push_back(paragraph.c_str());
  }
  wx_js_show_lesson(title.c_str(), texts.data(), static_cast<int>(texts.size()));
}

}  // namespace wandrix::web

extern "C" {

// The lessons the page links, in their list's order, as JSON:
// [{"name": ..., "title": ..., "summary": ...}]. Lessons that cannot be read
// are left out, as the list in File > Lessons... leaves them out.
EMSCRIPTEN_KEEPALIVE const char* wx_lessons_json() {
  static std::string json;
  nlohmann::json list = nlohmann::json::array();
  for (const wandrix::Lesson& lesson :
       wandrix::list_lessons(wandrix::lesson_folders(wandrix::web::kSiteFolder)).lessons) {
    list.push_back(
        {{"name", lesson.name}, {"title", lesson.title}, {"summary", lesson.first_sentence()}});
  }
  // Invalid UTF-8 in a lesson's text must not end the page.
  json = list.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
  return json.c_str();
}

}  // extern "C"
