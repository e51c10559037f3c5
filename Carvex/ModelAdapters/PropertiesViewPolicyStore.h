#pragma once

#include "Carvex/ModelAdapters/PropertiesViewUpdatePolicy.h"
#include "platform/Settings.h"

#include <memory>

namespace Carvex {

// Reads and writes the properties pane's update policy in the settings under
// "propertiesViewDebounceMilliseconds" (below 1 or absent reads as 250) and
// "propertiesViewKeepStateOnError" (absent reads as true). Main thread only.
class PropertiesViewPolicyStore {
public:
    static inline const QString debounceKey = QStringLiteral("propertiesViewDebounceMilliseconds");
    static inline const QString keepStateKey = QStringLiteral("propertiesViewKeepStateOnError");

    explicit PropertiesViewPolicyStore(std::shared_ptr<CarvexPlatform::Settings> defaults);

    PropertiesViewUpdatePolicy loadPolicy() const;
    void savePolicy(const PropertiesViewUpdatePolicy& policy);

    const std::shared_ptr<CarvexPlatform::Settings> defaults;
};

} // namespace Carvex
