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

}  // namespace translatable
