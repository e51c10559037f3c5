#include "Carvex/ModelAdapters/OperationParameterViewModel.h"

namespace Carvex {

OperationParameterViewModel::OperationParameterViewModel(QString name, ParamLocation location, bool required,
                                                         std::optional<QString> description,
                                                         std::optional<QString> schemaType, std::optional<QString> format,
                                                         std::optional<QString> defaultValue,
                                                         std::optional<QStringList> enumValues, bool deprecated,
                                                         std::optional<int64_t> sourceLine)
    : id(QString::fromLatin1(rawValue(location).data(), static_cast<qsizetype>(rawValue(location).size()))
         + QLatin1Char(':') + name),
      name(std::move(name)), location(location), required(required), description(std::move(description)),
      schemaType(std::move(schemaType)), format(std::move(format)), defaultValue(std::move(defaultValue)),
      enumValues(std::move(enumValues)), deprecated(deprecated), sourceLine(sourceLine)
{
}

} // namespace Carvex
