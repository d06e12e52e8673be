// The picture of a solved problem as SVG, from the solver's numbers: the
// plot's place in the picture and everything else as shares of it (0 at the
// low end of an axis, 1 at its high end), laid out by the solver for the
// size the page gave it.

function escaped(text) {
    return String(text).replace(/[&<>"]/g, (c) => ({ "&": "&amp;", "<": "&lt;", ">": "&gt;", '"': "&quot;" })[c]);
}

function number(value) {
    return Number.isFinite(value) ? value.toFixed(2) : "0";
}

export function graphSvg(graph) {
    const [width, height] = graph.size;
    const [left, top, plotWidth, plotHeight] = graph.plot;
    const px = (share) => left + share * plotWidth;
    const py = (share) => top + plotHeight - share * plotHeight;
    const [originX, originY] = [px(graph.origin[0]), py(graph.origin[1])];
    const parts = [];
    parts.push(`<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 ${width} ${height}" class="graph" role="img" aria-labelledby="graph-title">`);
    parts.push(`<title id="graph-title">Graf levé strany a řešení na ose x</title>`);
    parts.push(`<defs><clipPath id="plot-clip"><rect x="${left}" y="${top}" width="${plotWidth}" height="${plotHeight}"/></clipPath>`);
    parts.push(`<marker id="arrow" viewBox="0 0 10 10" refX="9" refY="5" markerWidth="7" markerHeight="7" orient="auto-start-reverse"><path d="M0,0 L10,5 L0,10 z" class="arrow-head"/></marker></defs>`);

    // The grid at the ticks, then the axes through the origin.
    for (const [share] of graph.x_ticks)
        parts.push(`<line class="grid" x1="${number(px(share))}" y1="${top}" x2="${number(px(share))}" y2="${top + plotHeight}"/>`);
    for (const [share] of graph.y_ticks)
        parts.push(`<line class="grid" x1="${left}" y1="${number(py(share))}" x2="${left + plotWidth}" y2="${number(py(share))}"/>`);
    parts.push(`<line class="axis" x1="2" y1="${number(originY)}" x2="${width - 2}" y2="${number(originY)}" marker-end="url(#arrow)"/>`);
    parts.push(`<line class="axis" x1="${number(originX)}" y1="${height - 2}" x2="${number(originX)}" y2="2" marker-end="url(#arrow)"/>`);
    parts.push(`<text class="axis-name" x="${width - 12}" y="${number(originY + 16)}">x</text>`);
    parts.push(`<text class="axis-name" x="${number(originX + 8)}" y="12">y</text>`);

    // The tick labels: under the x-axis, left of the y-axis; none at the origin.
    for (const [share, label] of graph.x_ticks) {
        if (Math.abs(px(share) - originX) < 1)
            continue;
        parts.push(`<line class="tick" x1="${number(px(share))}" y1="${number(originY - 4)}" x2="${number(px(share))}" y2="${number(originY + 4)}"/>`);
        parts.push(`<text class="tick-label" text-anchor="middle" x="${number(px(share))}" y="${number(originY + 18)}">${escaped(label)}</text>`);
    }
    for (const [share, label] of graph.y_ticks) {
        if (Math.abs(py(share) - originY) < 1)
            continue;
        parts.push(`<line class="tick" x1="${number(originX - 4)}" y1="${number(py(share))}" x2="${number(originX + 4)}" y2="${number(py(share))}"/>`);
        parts.push(`<text class="tick-label" text-anchor="end" x="${number(originX - 7)}" y="${number(py(share) + 4)}">${escaped(label)}</text>`);
    }

    // The curve, cut at the plot's edge.
    const points = graph.curve.map(([x, y]) => `${number(px(x))},${number(py(y))}`).join(" ");
    parts.push(`<polyline class="curve" clip-path="url(#plot-clip)" points="${points}"/>`);
    if (graph.vertex && graph.vertex.every((share) => share >= 0 && share <= 1))
        parts.push(`<circle class="vertex" cx="${number(px(graph.vertex[0]))}" cy="${number(py(graph.vertex[1]))}" r="3"><title>vrchol paraboly</title></circle>`);

    // The solution set on the x-axis: a band, an arrow where a piece runs on
    // to infinity, a filled dot for an end that belongs to it, a hollow one
    // for an end that does not.
    for (const piece of graph.band) {
        const from = piece.lower ? px(piece.lower[0]) : left;
        const to = piece.upper ? px(piece.upper[0]) : left + plotWidth;
        const arrows = (piece.lower ? "" : ' marker-start="url(#arrow)"') + (piece.upper ? "" : ' marker-end="url(#arrow)"');
        if (to - from > 0.5)
            parts.push(`<line class="band" x1="${number(from)}" y1="${number(originY)}" x2="${number(to)}" y2="${number(originY)}"${arrows}/>`);
        for (const end of [piece.lower, piece.upper]) {
            if (end)
                parts.push(`<circle class="${end[1] ? "dot closed" : "dot open"}" cx="${number(px(end[0]))}" cy="${number(originY)}" r="4.5"/>`);
        }
    }
    // The ends' values above the axis, on a ground of their own so that the
    // curve does not cross them out; a label that would run into the one
    // before it goes a line higher.
    let previousRight = -Infinity;
    let level = 0;
    for (const [share, label] of graph.root_labels) {
        const labelWidth = label.length * 8 + 4;
        const x = Math.min(Math.max(px(share) - labelWidth / 2, 0), width - labelWidth);
        level = x < previousRight + 3 ? level + 1 : 0;
        const bottom = originY - 8 - level * 16;
        parts.push(`<rect class="root-ground" x="${number(x)}" y="${number(bottom - 14)}" width="${labelWidth}" height="15"/>`);
        parts.push(`<text class="root-label" text-anchor="middle" x="${number(x + labelWidth / 2)}" y="${number(bottom - 2)}">${escaped(label)}</text>`);
        previousRight = x + labelWidth;
    }
    parts.push("</svg>");
    return parts.join("");
}
