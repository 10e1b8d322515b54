# Sourced by the restore tests after scripts/demo-env.sh: a restore changes the receiving users'
# mail, settings, address book, Favorites and phonebooks, and the main user's account
# association, on the demo prefix that the tests share. The registry and the users' files as
# they are now come back when vorn_put_back_demo_machine runs (in the test's exit trap).
vorn_kept=$(mktemp -d)
wineserver -w
cp "$WINEPREFIX"/*.reg "$vorn_kept/"
tar -C "$WINEPREFIX/drive_c" -cf "$vorn_kept/files.tar" users "Documents and Settings"
vorn_put_back_demo_machine() {
  wineserver -k 2>/dev/null || true
  wineserver -w
  cp "$vorn_kept"/*.reg "$WINEPREFIX/"
  rm -rf "$WINEPREFIX/drive_c/users" "$WINEPREFIX/drive_c/Documents and Settings" "$WINEPREFIX/drive_c/Mail"
  tar -C "$WINEPREFIX/drive_c" -xf "$vorn_kept/files.tar"
  rm -rf "$vorn_kept"
}
