/* SPDX-License-Identifier: MIT
 * UI Automation for Qt's Windows platform plugin, built with MinGW-w64 10. Its own uiautomation.h
 * lacks the provider interfaces the plugin implements, and its uiautomationcoreapi.h names a
 * parameter "new", which no C++ compiler takes. This header sits in the plugin's source folder, so
 * the plugin finds it before MinGW-w64's. The declarations are Qt 6.4's own MinGW copies
 * (uia-mingw/, from Debian's qt6-base 6.4 source, without the CaretPosition enum that the plugin
 * now declares itself). The plugin defines the functions below itself and looks each one up in
 * uiautomationcore.dll when it is first called, so a Windows (or Wine) without one still runs. */
#pragma once

#include <windows.h>
#include <ole2.h>

#include "uia-mingw/uiatypes_p.h"
#include "uia-mingw/uiaattributeids_p.h"
#include "uia-mingw/uiacontroltypeids_p.h"
#include "uia-mingw/uiaerrorids_p.h"
#include "uia-mingw/uiaeventids_p.h"
#include "uia-mingw/uiageneralids_p.h"
#include "uia-mingw/uiapatternids_p.h"
#include "uia-mingw/uiapropertyids_p.h"
#include "uia-mingw/uiaserverinterfaces_p.h"
#include "uia-mingw/uiaclientinterfaces_p.h"

#ifdef __cplusplus
extern "C" {
#endif
LRESULT WINAPI UiaReturnRawElementProvider(HWND, WPARAM, LPARAM, IRawElementProviderSimple *);
HRESULT WINAPI UiaHostProviderFromHwnd(HWND, IRawElementProviderSimple **);
HRESULT WINAPI UiaRaiseAutomationPropertyChangedEvent(IRawElementProviderSimple *, PROPERTYID,
                                                      VARIANT, VARIANT);
HRESULT WINAPI UiaRaiseAutomationEvent(IRawElementProviderSimple *, EVENTID);
HRESULT WINAPI UiaRaiseNotificationEvent(IRawElementProviderSimple *, enum NotificationKind,
                                         enum NotificationProcessing, BSTR, BSTR);
#ifdef __cplusplus
}
#endif
