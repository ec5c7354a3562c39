// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/Translatable.h"

#include <atomic>

namespace translatable {
namespace {

std::atomic<TTranslator> installed{nullptr};

}  // namespace

void SetTranslator(TTranslator translator) {
    installed.store(translator);
}

std::string Tr(const char* context, const char* text) {
    const TTranslator translator = installed.load();
    return translator ? translator(context, text) : std::string(text);
}

std::string Format(const char* context, const char* text, std::initializer_list<std::string> args) {
    const std::string pattern = Tr(context, text);
    std::string out;
    // One pass: a value that holds "%2" itself is never replaced again.
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        const size_t index = static_cast<size_t>(next - '1');
        if (pattern[i] == '%' && next >= '1' && next <= '9' && index < args.size()) {
            out += *(args.begin() + index);
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

}  // namespace translatable
