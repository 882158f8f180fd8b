// Resource ids of the stream settings page.
#pragma once

#define IDD_STREAM_PAGE 100
#define IDC_STREAM_ADDRESS 1001
#define IDC_BUFFER_LENGTH 1002
#define IDC_RECONNECT_ATTEMPTS 1003
