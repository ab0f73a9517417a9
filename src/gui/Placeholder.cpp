// The Qt windows.
