#include "view/TwoThreads.h"

#include <exception>
#include <system_error>
#include <thread>

namespace tram {

void PaintOnTwoThreads(const std::function<void(const RowShare&)>& paint)
{
    std::exception_ptr helperError;
    std::jthread helper;
    try {
        helper = std::jthread([&] {
            try {
                paint(RowShare{1, 2});
            } catch (...) {
                helperError = std::current_exception();
            }
        });
    } catch (const std::system_error&) {
        paint(RowShare{0, 1});
        return;
    }
    // Should this throw, leaving the scope joins the helper first.
    paint(RowShare{0, 2});
    helper.join();
    if (helperError)
        std::rethrow_exception(helperError);
}

} // namespace tram
