#include "resource.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace korvelan {

std::optional<QByteArray> readEmbeddedResource(const ResourceId &id)
{
    // The build places each resource at ":/<TYPE>/<number>"; numbers are 16-bit.
    if (id.number < 0 || id.number > 0xFFFF || id.type.isEmpty() || id.type.contains(u'/'))
        return std::nullopt;
    QFile file(u":/"_s + id.type + u'/' + QString::number(id.number));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

} // namespace korvelan
