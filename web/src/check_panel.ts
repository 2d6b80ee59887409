// Check: what zq70cfg check says about the configuration, always up to date. Choosing a line
// selects what it is about: the cell, the pin of a line, the option or the macro.
import type { Finding, FindingTarget } from './core';
import { withConfiguration } from './core';
import type { PageContext } from './context';
import { h } from './dom';

export class CheckPanel {
  private readonly list = h('ul', { class: 'findings' });
  private readonly summary = h('p', { id: 'check-summary' });

  constructor(
    private readonly context: PageContext,
    container: HTMLElement,
    private readonly select: (target: FindingTarget) => void,
  ) {
    container.append(this.summary, this.list);
    this.list.addEventListener('click', (event) => {
      const button = (event.target as HTMLElement).closest<HTMLButtonElement>('button[data-finding]');
      const finding = button ? this.findings[Number(button.dataset.finding)] : undefined;
      if (finding) this.select(finding.target);
    });
  }

  private findings: Finding[] = [];

  render(): void {
    const { core, editor } = this.context;
    this.findings = withConfiguration(editor.configuration(), (c) => core.checkConfiguration(c));
    const errors = this.findings.filter((f) => f.severity === 'error').length;
    const warnings = this.findings.filter((f) => f.severity === 'warning').length;
    this.summary.textContent =
      errors + warnings === 0
        ? 'Nothing to fix.'
        : `${errors} ${errors === 1 ? 'error' : 'errors'}, ${warnings} ${warnings === 1 ? 'warning' : 'warnings'}.`;
    this.list.replaceChildren(
      ...this.findings.map((finding, i) =>
        h(
          'li',
          { class: finding.severity },
          finding.target.kind === 'none'
            ? h('span', {}, finding.line)
            : h('button', { type: 'button', class: 'link', 'data-finding': i }, finding.line),
        ),
      ),
    );
  }
}
