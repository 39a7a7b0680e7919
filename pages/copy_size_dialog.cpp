#include "pages/copy_size_dialog.h"

#include "app/app_services.h"
#include "res/resource.h"
#include "ui/bitmap_resource.h"

namespace tolvan {

CCopySizeDialog::CCopySizeDialog(CAppServices* app) : CDialog(IDD_COPY_SIZE), m_app(app) {}

BOOL CCopySizeDialog::OnInitDialog() {
    m_ring.emplace(m_value);
    m_value = m_ring->Current().value;
    ShowCurrent();
    if (m_app)
        m_app->TranslateDialog(m_hwnd, TemplateId());
    return TRUE;
}

void CCopySizeDialog::ShowCurrent() {
    const CopySize& size = m_ring->Current();
    UniqueBitmap picture = LoadBitmapResource(size.bitmapId);
    const auto previous = reinterpret_cast<HBITMAP>(::SendDlgItemMessageA(
        m_hwnd, IDC_COPY_SIZE_PICTURE, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture.Get())));
    // The control may have shown a copy of its own rather than ours; that copy is ours to delete.
    if (previous && previous != m_picture.Get())
        ::DeleteObject(previous);
    m_picture = std::move(picture);

    TextBuffer text = {};
    if (m_app)
        m_app->LoadText(size.stringId, text);
    else
        ::LoadStringA(::GetModuleHandleA(nullptr), size.stringId, text, sizeof text);
    SetItemText(IDC_COPY_SIZE_TEXT, text);
}

void CCopySizeDialog::OnCommand(int id, int code, HWND) {
    if (code != BN_CLICKED || !m_ring)
        return;
    if (id == IDC_COPY_SIZE_PREVIOUS)
        m_ring->Previous();
    else if (id == IDC_COPY_SIZE_NEXT)
        m_ring->Next();
    else
        return;
    m_value = m_ring->Current().value;
    ShowCurrent();
}

void CCopySizeDialog::OnDestroy() {
    const auto shown =
        reinterpret_cast<HBITMAP>(::SendDlgItemMessageA(m_hwnd, IDC_COPY_SIZE_PICTURE, STM_SETIMAGE, IMAGE_BITMAP, 0));
    if (shown && shown != m_picture.Get())
        ::DeleteObject(shown);
    m_picture.Reset();
    m_ring.reset();
}

bool CCopySizeDialog::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (msg == WM_DESTROY) {
        OnDestroy();
        return false;
    }
    return CDialog::OnMessage(msg, wParam, lParam, result);
}

} // namespace tolvan
