#include "Carvex/Documents/NewDocumentConfiguration.h"

namespace Carvex {

NewDocumentConfiguration NewDocumentConfiguration::default_() {
    NewDocumentConfiguration configuration;
    configuration.methods = {HTTPMethod::get};
    return configuration;
}

}  // namespace Carvex
