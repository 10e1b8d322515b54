# Sourced: VORN_CACHE, the cache folder of this checkout alone, so that checkouts testing at the
# same time never share (or remake) each other's Wine prefixes.
vorn_checkout=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export VORN_CACHE=${XDG_CACHE_HOME:-$HOME/.cache}/vorn/checkout-$(printf %s "$vorn_checkout" | sha256sum | cut -c1-12)
