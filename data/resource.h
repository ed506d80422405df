#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

namespace korvelan {

// The program's two embedded resources, looked up by type name and number.
struct ResourceId {
    QString type;
    int number;
};
inline const ResourceId kDatabaseResource{QStringLiteral("KORVELAN"), 101};
inline const ResourceId kKeywordResource{QStringLiteral("MOTCLE"), 102};

// Returns the whole resource as bytes, or nothing when it cannot be read.
using ResourceReader = std::function<std::optional<QByteArray>(const ResourceId &)>;

// Reads a resource embedded in the executable at build time.
std::optional<QByteArray> readEmbeddedResource(const ResourceId &id);

} // namespace korvelan
