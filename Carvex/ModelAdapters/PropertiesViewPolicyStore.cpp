#include "Carvex/ModelAdapters/PropertiesViewPolicyStore.h"

#include <limits>

namespace Carvex {

PropertiesViewPolicyStore::PropertiesViewPolicyStore(std::shared_ptr<CarvexPlatform::Settings> defaults)
    : defaults(std::move(defaults))
{
}

PropertiesViewUpdatePolicy PropertiesViewPolicyStore::loadPolicy() const
{
    PropertiesViewUpdatePolicy policy;
    const long long milliseconds = defaults->integerValue(debounceKey);
    // Saturated so that a huge stored number waits as long as it can rather than wrapping around.
    if (milliseconds >= 1)
        policy.debounceMilliseconds = static_cast<int>(std::min<long long>(milliseconds, std::numeric_limits<int>::max()));
    policy.keepLastValidStateOnError = defaults->contains(keepStateKey) ? defaults->boolValue(keepStateKey) : true;
    return policy;
}

void PropertiesViewPolicyStore::savePolicy(const PropertiesViewUpdatePolicy& policy)
{
    defaults->setInteger(debounceKey, policy.debounceMilliseconds);
    defaults->setBool(keepStateKey, policy.keepLastValidStateOnError);
}

} // namespace Carvex
