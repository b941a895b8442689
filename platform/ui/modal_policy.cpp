#include "platform/ui/modal_policy.h"

#include <utility>

namespace platform::ui {

namespace {
bool g_unattended = false;
ModalObserver g_observer;
}  // namespace

void SetUnattended(bool unattended) { g_unattended = unattended; }
bool IsUnattended() { return g_unattended; }

ModalObserver SetModalObserver(ModalObserver observer) { return std::exchange(g_observer, std::move(observer)); }

namespace detail {
const ModalObserver& CurrentModalObserver() { return g_observer; }
}  // namespace detail

}  // namespace platform::ui
