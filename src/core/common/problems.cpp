#include "core/common/problems.h"

#include <cstdio>
#include <utility>

#include "core/common/translate.h"
#include "platform/text_encoding.h"

namespace kelvane {

namespace {

problem_listener* listening = nullptr;

void tell(problem p) {
    if (listening) {
        listening->told(p);
        return;
    }
    const std::string line = to_utf8(problem_text(p));
    std::fprintf(stderr, "%s\n", line.c_str());
}

}  // namespace

std::u16string problem_text(const problem& p) {
    std::u16string text = p.translated ? tr(p.key) : p.key;
    if (!p.subject.empty()) {
        text += u'\n';
        text += p.subject;
    }
    return text;
}

void report_problem(std::u16string_view key, std::u16string_view subject) {
    tell({std::u16string(key), std::u16string(subject), true});
}

void report_untranslated(std::u16string_view text) {
    tell({std::u16string(text), {}, false});
}

scoped_problem_listener::scoped_problem_listener(problem_listener& listener)
    : previous_(std::exchange(listening, &listener)) {}

scoped_problem_listener::~scoped_problem_listener() {
    listening = previous_;
}

}  // namespace kelvane
