#include "model/ProjectFileResults.h"

namespace {
ProjectResultsProvider& Provider() {
    static ProjectResultsProvider provider;
    return provider;
}
} // namespace

void SetProjectResultsProvider(ProjectResultsProvider provider) {
    Provider() = std::move(provider);
}

const ProjectResultsProvider& GetProjectResultsProvider() {
    return Provider();
}
