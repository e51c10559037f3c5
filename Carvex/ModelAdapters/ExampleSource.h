#pragma once

#include <QString>

#include <functional>
#include <string_view>

namespace Carvex {

// One media type of an operation that examples belong to: of the request body, or of one response.
class ExampleSource {
public:
    enum class Kind { requestBody, response };

    static ExampleSource requestBody(QString contentType) { return ExampleSource(Kind::requestBody, {}, std::move(contentType)); }
    static ExampleSource response(QString statusCode, QString contentType)
    {
        return ExampleSource(Kind::response, std::move(statusCode), std::move(contentType));
    }

    Kind kind() const noexcept { return kind_; }
    bool isRequestBody() const noexcept { return kind_ == Kind::requestBody; }
    // The status code of a response source; empty for the request body.
    const QString& statusCode() const noexcept { return statusCode_; }
    const QString& contentType() const noexcept { return contentType_; }

    // "Request Body (application/json)", "200 Response (application/json)".
    QString displayTitle() const;
    // The case index (0 for the request body, 1 for a response), then the texts in order.
    std::size_t hash() const noexcept;

    friend bool operator==(const ExampleSource&, const ExampleSource&) = default;

private:
    ExampleSource(Kind kind, QString statusCode, QString contentType)
        : kind_(kind), statusCode_(std::move(statusCode)), contentType_(std::move(contentType))
    {
    }

    Kind kind_;
    QString statusCode_;
    QString contentType_;
};

// Whether a responses key names the status code `code`: a key still written with quotation marks
// ("'200'" or "\"201\"") matches as the details list it, so both are compared with single and double
// quotation marks trimmed from their ends.
bool statusCodesMatch(std::string_view key, std::string_view code);

} // namespace Carvex

template<>
struct std::hash<Carvex::ExampleSource> {
    std::size_t operator()(const Carvex::ExampleSource& source) const noexcept { return source.hash(); }
};
