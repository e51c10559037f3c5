#include "Carvex/Validation/CarvexValidationResult.h"

namespace Carvex {

CarvexValidationResult CarvexValidationResult::parsingError(CarvexValidationError error) {
    return CarvexValidationResult(std::in_place_index<0>, std::move(error));
}

CarvexValidationResult CarvexValidationResult::validationErrors(
    std::vector<CarvexValidationError> errors) {
    return CarvexValidationResult(std::in_place_index<1>, std::move(errors));
}

CarvexValidationResult CarvexValidationResult::unsupportedVersion(QString version) {
    return CarvexValidationResult(std::in_place_index<2>, Version{std::move(version)});
}

CarvexValidationResult CarvexValidationResult::success() {
    return CarvexValidationResult(std::in_place_index<3>);
}

const CarvexValidationError* CarvexValidationResult::parsingErrorValue() const {
    return std::get_if<0>(&value_);
}

const std::vector<CarvexValidationError>* CarvexValidationResult::validationErrorsValue() const {
    return std::get_if<1>(&value_);
}

const QString* CarvexValidationResult::unsupportedVersionValue() const {
    const Version* version = std::get_if<2>(&value_);
    return version != nullptr ? &version->text : nullptr;
}

std::vector<CarvexValidationError> CarvexValidationResult::findings() const {
    if (const auto* error = parsingErrorValue()) {
        return {*error};
    }
    if (const auto* errors = validationErrorsValue()) {
        return *errors;
    }
    return {};
}

QString CarvexValidationResult::description() const {
    switch (kind()) {
        case Kind::parsingError:
            return QStringLiteral("parsingError(%1)").arg(parsingErrorValue()->message);
        case Kind::validationErrors:
            return QStringLiteral("validationErrors(%1)").arg(validationErrorsValue()->size());
        case Kind::unsupportedVersion:
            return QStringLiteral("unsupportedVersion(%1)").arg(*unsupportedVersionValue());
        case Kind::success: break;
    }
    return QStringLiteral("success");
}

}  // namespace Carvex
