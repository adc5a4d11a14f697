#include "gui/CompactStyle.h"

#include <wx/window.h>

#ifdef __WXGTK3__

#include <dlfcn.h>

namespace {

// The few GTK 3 calls needed, looked up in the GTK library that the toolkit has loaded already: building
// needs neither GTK's headers nor its development package. Without them the theme's sizes stay.
struct TGtkCalls {
    void* (*pfnGetStyleContext)(void* pWidget);
    void (*pfnAddClass)(void* pContext, const char* pszClass);
    void* (*pfnCssProviderNew)();
    int (*pfnLoadFromData)(void* pProvider, const char* pszData, long nLength, void** ppError);
    void* (*pfnGetDefaultScreen)();
    void (*pfnAddProviderForScreen)(void* pScreen, void* pProvider, unsigned nPriority);
    void (*pfnUnref)(void* pObject);
};

template <typename T> bool Resolve(T& pfn, const char* pszName) {
    pfn = reinterpret_cast<T>(::dlsym(RTLD_DEFAULT, pszName));
    return pfn != nullptr;
}

constexpr unsigned GTK_STYLE_PROVIDER_PRIORITY_APPLICATION = 600;
constexpr const char* kStyleClass = "sqlscripts-template";
constexpr const char* kCss = ".sqlscripts-template button { padding: 0 4px; min-height: 0; min-width: 0; }\n"
                             ".sqlscripts-template entry { padding: 0 3px; min-height: 0; }\n"
                             ".sqlscripts-template checkbutton { padding: 0; }\n"
                             ".sqlscripts-template check { min-width: 12px; min-height: 12px; }\n";

// The calls, with the style sheet installed for the screen; null when GTK lacks one of them.
const TGtkCalls* GtkCalls() {
    static const TGtkCalls* const pCalls = []() -> const TGtkCalls* {
        static TGtkCalls calls{};
        const bool bResolved =
            Resolve(calls.pfnGetStyleContext, "gtk_widget_get_style_context") &&
            Resolve(calls.pfnAddClass, "gtk_style_context_add_class") &&
            Resolve(calls.pfnCssProviderNew, "gtk_css_provider_new") &&
            Resolve(calls.pfnLoadFromData, "gtk_css_provider_load_from_data") &&
            Resolve(calls.pfnGetDefaultScreen, "gdk_screen_get_default") &&
            Resolve(calls.pfnAddProviderForScreen, "gtk_style_context_add_provider_for_screen") &&
            Resolve(calls.pfnUnref, "g_object_unref");
        void* pScreen = bResolved ? calls.pfnGetDefaultScreen() : nullptr;
        if (!pScreen)
            return nullptr;
        void* pProvider = calls.pfnCssProviderNew();
        if (calls.pfnLoadFromData(pProvider, kCss, -1, nullptr))
            calls.pfnAddProviderForScreen(pScreen, pProvider, GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
        calls.pfnUnref(pProvider);
        return &calls;
    }();
    return pCalls;
}

} // namespace

void ApplyCompactStyle(wxWindow& window) {
    const TGtkCalls* pCalls = GtkCalls();
    if (pCalls && window.GetHandle())
        pCalls->pfnAddClass(pCalls->pfnGetStyleContext(window.GetHandle()), kStyleClass);
}

#else

void ApplyCompactStyle(wxWindow&) {}

#endif
