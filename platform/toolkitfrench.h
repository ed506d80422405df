#pragma once

#include <QTranslator>

#include <span>

namespace korvelan {

// One text of the toolkit in French: where the toolkit asks for it (its context and its English
// source) and what the user reads instead.
struct ToolkitText {
    const char *context;
    const char *source;
    const char16_t *french;
};

// The toolkit's own texts that this program can show, in French: the edit and scroll-bar menus, the
// names of keys in their shortcuts, the command line's errors, the actions named to a screen reader.
// The toolkit's whole French catalogue would do the same, but it is a 160 KB file mapped and indexed
// for the few dozen texts used here.
std::span<const ToolkitText> toolkitFrenchTexts();

class ToolkitFrench : public QTranslator {
public:
    using QTranslator::QTranslator;
    QString translate(const char *context, const char *sourceText, const char *disambiguation = nullptr,
                      int n = -1) const override;
    bool isEmpty() const override { return false; }
};

} // namespace korvelan
