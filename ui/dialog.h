// Dialogs from templates, modal or modeless. One static dialog procedure finds the object and
// hands every message to OnMessage, whose switch in each dialog class calls one named handler per
// message: this is the message map. Notifications meant for a control of ours (owner draw,
// custom draw) are reflected to it.
#pragma once

#include "ui/window.h"

namespace tolvan {

class CDialog : public CWindow {
public:
    explicit CDialog(UINT templateId) : m_templateId(templateId) {}
    // A modeless dialog's window still open is destroyed, after it has stopped pointing at this object: the
    // derived parts are gone by now, so the messages of its destruction go to the dialog manager alone.
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    INT_PTR DoModal(HWND parent);
    // A modeless dialog, such as a page inside the main window.
    bool Create(HWND parent);
    void EndDialog(INT_PTR result) const { ::EndDialog(m_hwnd, result); }
    // Destroys a modeless dialog's window; harmless when there is none.
    virtual void DestroyWindow();

    UINT TemplateId() const { return m_templateId; }

    // The dialog's items by control id; nothing happens for an id the dialog does not hold.
    void ShowItem(int id, bool shown) const { ::ShowWindow(Item(id), shown ? SW_SHOW : SW_HIDE); }
    void EnableItem(int id, bool enable) const { ::EnableWindow(Item(id), enable ? TRUE : FALSE); }
    void SetItemText(int id, const char* text) const { ::SetDlgItemTextA(m_hwnd, id, text); }

protected:
    // Handles a message; returns false to get the dialog manager's default processing. For messages that answer
    // through DWLP_MSGRESULT, result is stored there; the others return it directly.
    virtual bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnCommand(int /*id*/, int /*code*/, HWND /*control*/) {}
    // Enter and Escape arrive as IDOK and IDCANCEL; a class decides what they do.
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);

    UINT m_templateId;
    bool m_modeless = false;
};

// The message a control of ours receives for a notification that its parent reflected.
inline constexpr UINT kReflectBase = WM_USER + 0x1C00;
inline constexpr UINT kReflectedDrawItem = kReflectBase + WM_DRAWITEM;
inline constexpr UINT kReflectedNotify = kReflectBase + WM_NOTIFY;

// Reflects WM_DRAWITEM and WM_NOTIFY to the control they concern when it is one of ours (see CControl).
bool ReflectToControl(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

} // namespace tolvan
