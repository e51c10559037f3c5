#pragma once

#include "Carvex/ModelAdapters/ServerAdapter.h"
#include "Carvex/ModelAdapters/OpenAPI30Model.h"
#include "Carvex/ModelAdapters/OpenAPI31Model.h"

#include <memory>

namespace Carvex {

// ServerAdapter over the Server object of one version's model (Model: OpenAPI30Model or OpenAPI31Model).
template<class Model>
class VersionedServerAdapter final : public ServerAdapter {
public:
    explicit VersionedServerAdapter(std::shared_ptr<const typename Model::Server> server) : server(std::move(server)) {}

    std::string url() const override { return server->url; }
    std::optional<std::string> description() const override { return server->description; }

    const std::shared_ptr<const typename Model::Server> server;
};

using OpenAPI30ServerAdapter = VersionedServerAdapter<OpenAPI30Model>;
using OpenAPI31ServerAdapter = VersionedServerAdapter<OpenAPI31Model>;

} // namespace Carvex
