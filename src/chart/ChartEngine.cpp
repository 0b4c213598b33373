// Placeholder until the chart engine lands.
namespace qm {
} // namespace qm
